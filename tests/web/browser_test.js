// The web build in headless Chromium, driven like a user: the launcher, its clicks, a lit frame
// with its statistics, the Down and Escape keys, and the failures the user is told about.
//
//   node browser_test.js CASE SITE_DIR     (SITE_DIR: the unpacked web zip)
//
// Statistics text is checked against masks of the same lines drawn by Mesa (tools/render_frame
// at 640 x 480), in references/.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { serve, Browser, sleep } = require('./chromium.js');
const { decodePng } = require('./png.js');
const { readBmp, readMask, showsMask } = require('./pictures.js');

const [caseName, siteDir] = process.argv.slice(2);
const kEscape = 27, kDown = 40;
const kCanvas = 'document.getElementById("canvas")';
const canvasIs = (width, height) => `${kCanvas}.width == ${width} && ${kCanvas}.height == ${height}`;

// The launcher's rectangles from splash.cfg: [left, top, right, bottom] per button.
function buttons(site) {
    const words = fs.readFileSync(path.join(site, 'splash.cfg'), 'utf8').trim().split(/\s+/);
    const rects = [];
    for (let i = 2; i + 4 <= words.length; i += 4) {
        rects.push(words.slice(i, i + 4).map(Number));
    }
    return rects;
}

const centre = ([left, top, right, bottom]) => [(left + right) >> 1, (top + bottom) >> 1];

// A copy of the site without the given files, removed with the folder afterwards.
function siteWithout(missing) {
    const copy = fs.mkdtempSync(path.join(os.tmpdir(), 'varko-site-'));
    fs.cpSync(siteDir, copy, { recursive: true });
    missing.forEach((file) => fs.rmSync(path.join(copy, file)));
    return copy;
}

async function canvasPicture(browser) {
    const size = await browser.evaluate(`[${kCanvas}.width, ${kCanvas}.height]`);
    const shot = decodePng(await browser.screenshot());
    const rgba = Buffer.alloc(size[0] * size[1] * 4);
    for (let y = 0; y < size[1]; ++y) {
        shot.rgba.copy(rgba, y * size[0] * 4, y * shot.width * 4, (y * shot.width + size[0]) * 4);
    }
    return { width: size[0], height: size[1], rgba };
}

async function startAt(browser, rects, resolution, depth) {
    await browser.waitFor(canvasIs(420, 300), 30, 'the launcher');
    for (const index of [resolution, depth, 7]) {
        await browser.click(...centre(rects[index]));
    }
}

// Holds `code` down until `done()` resolves true, then lets it go.
async function holdKeyUntil(browser, code, done, seconds) {
    await browser.key('rawKeyDown', code);
    try {
        for (let tries = seconds * 4; tries > 0; --tries) {
            if (await done()) {
                return;
            }
            await sleep(250);
        }
        throw new Error(`holding key ${code} did not have its effect`);
    } finally {
        await browser.key('keyUp', code);
    }
}

const masks = {};
function mask(name) {
    masks[name] = masks[name] || readMask(path.join(__dirname, 'references', name));
    return masks[name];
}

const showsLine = async (browser, name) => showsMask(await canvasPicture(browser), mask(name));

// Waits for a frame at 640 x 480 with both statistics lines as Mesa draws them and a lit surface.
async function expectFrame(browser) {
    await browser.waitFor(canvasIs(640, 480), 30, 'the GL window');
    await browser.waitFor('document.title == "VARKO OpenGL Example"', 5);
    for (let tries = 0; ; ++tries) {
        const frame = await canvasPicture(browser);
        if (showsMask(frame, mask('count10.pbm')) && showsMask(frame, mask('fps_label.pbm'))) {
            return expectLit(frame);
        }
        if (tries > 60) throw new Error('no "FPS: " and "N. Metaballs: 10" on the frame');
        await sleep(500);
    }
}

function expectLit(frame) {
    let lit = 0;
    for (let i = 0; i < frame.rgba.length; i += 4) {
        lit += frame.rgba[i] + frame.rgba[i + 1] + frame.rgba[i + 2] > 150 ? 1 : 0;
    }
    if (lit < frame.width * frame.height / 50) throw new Error(`only ${lit} lit pixels`);
}

const exitStatus = (browser) => browser.evaluate('document.body.dataset.exitStatus');

const cases = {
    // The launcher shows its picture; clicks pick 1024 x 768 and 16 bits, which then show
    // their pressed look, and Start opens the GL window at that size.
    async launcher(browser, site) {
        const rects = buttons(site);
        await browser.waitFor(canvasIs(420, 300), 30, 'the launcher');
        const up = readBmp(path.join(site, 'launcher.bmp'));
        const down = readBmp(path.join(site, 'launcher_pressed.bmp'));
        await browser.click(...centre(rects[2]));
        await browser.click(...centre(rects[4]));
        await sleep(500);
        const shown = await canvasPicture(browser);
        checkLauncher(shown, up, down, rects, [2, 4]);
        await browser.click(...centre(rects[7]));
        await browser.waitFor(canvasIs(1024, 768), 30, '1024 x 768');
    },
    async frame(browser, site) {
        await startAt(browser, buttons(site), 0, 5);
        await expectFrame(browser);
    },
    async keys(browser, site) {
        await startAt(browser, buttons(site), 0, 5);
        await expectFrame(browser);
        await holdKeyUntil(browser, kDown, () => showsLine(browser, 'count2.pbm'), 60);
        await holdKeyUntil(browser, kEscape, async () => (await exitStatus(browser)) !== undefined, 30);
        const status = await exitStatus(browser);
        if (status !== '0') throw new Error(`exit status ${status}, expected 0`);
        const said = await browser.evaluate('document.getElementById("status").textContent');
        if (said !== 'The program ended with status 0.') throw new Error(`the page says "${said}"`);
    },
    async no_reflection(browser, site) {
        await startAt(browser, buttons(site), 0, 5);
        const box = await browser.waitFor(
            'document.querySelector(".message-box") && document.querySelector(".message-box").innerText', 60,
            'a message box');
        if (!/^LumoGL Example Error\s+Cannot load reflection texture\.\s+OK$/.test(box)) {
            throw new Error(`the box says: ${JSON.stringify(box)}`);
        }
        if (!browser.console.some((line) => line.includes('[LumoGL Example Error] Cannot load reflection texture.'))) {
            throw new Error('the box was not written to the console');
        }
    },
    async no_splash_cfg(browser) {
        await browser.waitFor('document.body.dataset.exitStatus !== undefined', 30, 'the end');
        const status = await exitStatus(browser);
        if (status !== '1') throw new Error(`exit status ${status}, expected 1`);
    },
};

// The launcher shows the normal picture, with the pressed look inside the selected buttons.
function checkLauncher(shown, up, down, rects, selected) {
    let wrong = 0;
    for (let y = 0; y < up.height; ++y) {
        for (let x = 0; x < up.width; ++x) {
            const inside = selected.some((index) => {
                const [l, t, r, b] = rects[index];
                return x >= l && x < r && y >= t && y < b;
            });
            const source = inside ? down : up;
            const i = (y * up.width + x) * 4;
            const j = (y * shown.width + x) * 4;
            for (let c = 0; c < 3; ++c) wrong += Math.abs(shown.rgba[j + c] - source.rgba[i + c]) > 2 ? 1 : 0;
        }
    }
    if (wrong > 0) throw new Error(`${wrong} launcher samples differ from the bitmaps`);
}

const missingFiles = { no_reflection: ['data/Reflect.jpg'], no_splash_cfg: ['splash.cfg'] };

async function main() {
    const run = cases[caseName];
    if (!run) throw new Error(`unknown case ${caseName}`);
    const site = missingFiles[caseName] ? siteWithout(missingFiles[caseName]) : siteDir;
    const server = await serve(site);
    const browser = new Browser(1100, 900);
    try {
        await browser.open(server.url + 'index.html');
        await run(browser, site);
        console.log(`PASS ${caseName}`);
    } finally {
        browser.close();
        server.stop();
        if (site !== siteDir) fs.rmSync(site, { recursive: true, force: true });
    }
}

main().catch((error) => {
    console.error(`FAIL ${caseName}: ${error.message}`);
    process.exit(1);
});
