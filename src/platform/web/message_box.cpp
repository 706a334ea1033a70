// Message boxes as an overlay on the page: the caption, an icon, the text and the buttons, in
// front of the canvas. The program waits, yielding to the browser, until a button is pressed
// (Enter presses the first, Escape the last). The line on the error stream, which reaches the
// console, is written above the seam.

#include "src/platform/web/web_internal.h"

#include <emscripten/emscripten.h>

namespace VARKO::Platform {
namespace {

// Shows the box; the answer (the index of the button pressed) lands in Module.varkoAnswer.
EM_JS(void, varko_show_box, (const char* caption, const char* text, const char* icon, int asking), {
    var box = document.createElement('div');
    box.id = 'message-box';
    box.className = 'message-box';
    box.setAttribute('role', 'alertdialog');
    box.dataset.icon = UTF8ToString(icon);
    var title = document.createElement('div');
    title.className = 'caption';
    title.textContent = UTF8ToString(caption);
    var body = document.createElement('div');
    body.className = 'text';
    body.textContent = UTF8ToString(text);
    var buttons = document.createElement('div');
    buttons.className = 'buttons';
    var names = asking ? [ 'Yes', 'No' ] : ['OK'];
    Module['varkoAnswer'] = -1;
    function answer(index) {
        Module['varkoAnswer'] = index;
        box.remove();
    }
    names.forEach(function(name, index) {
        var button = document.createElement('button');
        button.textContent = name;
        button.onclick = function() {
            answer(index);
        };
        buttons.appendChild(button);
    });
    box.onkeydown = function(event) {
        if (event.key == 'Escape')
            answer(names.length - 1);
        event.stopPropagation();
    };
    box.append(title, body, buttons);
    document.body.appendChild(box);
    buttons.firstChild.focus();
});

EM_JS(int, varko_box_answer, (), { return Module['varkoAnswer']; });

const char* IconName(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Stop:
        return "stop";
    case MessageIcon::Information:
        return "information";
    default:
        return "exclamation";
    }
}

constexpr unsigned kAnswerPollMilliseconds = 50;
bool shown = false;

} // namespace

bool MessageBoxShown() {
    return shown;
}

MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                          MessageButtons buttons, MessageIcon icon) {
    const bool asking = buttons == MessageButtons::YesNo;
    shown = true;
    varko_show_box(caption.c_str(), text.c_str(), IconName(icon), asking ? 1 : 0);
    int answer = -1;
    while ((answer = varko_box_answer()) < 0) {
        emscripten_sleep(kAnswerPollMilliseconds);
    }
    shown = false;
    if (!asking) {
        return MessageAnswer::Ok;
    }
    return answer == 0 ? MessageAnswer::Yes : MessageAnswer::No;
}

} // namespace VARKO::Platform
