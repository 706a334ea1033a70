// Takes the README's picture of the web build: the page at 640 x 480 after Start, a few seconds
// into the run, as headless Chromium shows it.
//
//   node tests/web/screenshot.js SITE_DIR OUTPUT.png
'use strict';
const fs = require('fs');
const { serve, Browser, sleep } = require('./chromium.js');

async function main([site, output]) {
    const server = await serve(site);
    const browser = new Browser(800, 600);
    try {
        await browser.open(server.url + 'index.html');
        await browser.waitFor('document.getElementById("canvas").width == 420', 30, 'the launcher');
        for (const [x, y] of [[82, 117], [338, 185], [306, 242]]) {
            await browser.click(x, y);
        }
        await browser.waitFor('document.getElementById("canvas").width == 640', 30, 'the frame');
        await sleep(6000);
        const clip = { x: 0, y: 0, width: 640, height: 480, scale: 1 };
        const shot = await browser.send('Page.captureScreenshot', { format: 'png', clip });
        fs.writeFileSync(output, Buffer.from(shot.data, 'base64'));
    } finally {
        browser.close();
        server.stop();
    }
}

main(process.argv.slice(2)).catch((error) => {
    console.error(error.message);
    process.exit(1);
});
