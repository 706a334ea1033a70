// Headless Chromium driven through the DevTools protocol over a pipe (no npm packages), and the
// site served by Python's http.server on 127.0.0.1. Used by browser_test.js.
'use strict';
const { spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

// Serves `folder` on a free port of 127.0.0.1; resolves to { url, stop }.
function serve(folder) {
    const server = spawn('python3', ['-u', '-m', 'http.server', '--bind', '127.0.0.1', '0'],
                         { cwd: folder, stdio: ['ignore', 'pipe', 'ignore'] });
    return new Promise((resolve, reject) => {
        let seen = '';
        server.stdout.on('data', (chunk) => {
            seen += chunk;
            const port = /port (\d+)/.exec(seen);
            if (port) {
                resolve({ url: `http://127.0.0.1:${port[1]}/`, stop: () => server.kill() });
            }
        });
        server.on('exit', () => reject(new Error('the web server ended: ' + seen)));
    });
}

// A browser with one page attached. Messages on the pipe end with a NUL byte.
class Browser {
    constructor(width, height) {
        this.profile = fs.mkdtempSync(path.join(os.tmpdir(), 'varko-chromium-'));
        this.process = spawn('chromium', [
            ...(process.env.VARKO_HEADED ? [] : ['--headless']), '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
            `--window-size=${width},${height}`, `--user-data-dir=${this.profile}`,
            '--disable-background-networking', '--disable-component-update', '--disable-sync',
            '--no-first-run', '--remote-debugging-pipe', 'about:blank',
        ], { stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe'] });
        this.nextId = 1;
        this.waiting = new Map();
        this.listeners = [];
        this.console = [];
        let pending = Buffer.alloc(0);
        this.process.stdio[4].on('data', (chunk) => {
            pending = Buffer.concat([pending, chunk]);
            let end;
            while ((end = pending.indexOf(0)) >= 0) {
                this.receive(JSON.parse(pending.subarray(0, end).toString()));
                pending = pending.subarray(end + 1);
            }
        });
    }

    receive(message) {
        if (message.id && this.waiting.has(message.id)) {
            const { resolve, reject } = this.waiting.get(message.id);
            this.waiting.delete(message.id);
            message.error ? reject(new Error(JSON.stringify(message.error))) : resolve(message.result);
            return;
        }
        if (message.method === 'Runtime.consoleAPICalled') {
            this.console.push(message.params.args.map((arg) => arg.value).join(' '));
        }
        this.listeners.forEach((listener) => listener(message));
    }

    send(method, params = {}, sessionId = this.session) {
        const id = this.nextId++;
        const message = { id, method, params };
        if (sessionId) {
            message.sessionId = sessionId;
        }
        this.process.stdio[3].write(JSON.stringify(message) + '\0');
        return new Promise((resolve, reject) => this.waiting.set(id, { resolve, reject }));
    }

    async open(url) {
        const { targetId } = await this.send('Target.createTarget', { url: 'about:blank' }, null);
        const attached = await this.send('Target.attachToTarget', { targetId, flatten: true }, null);
        this.session = attached.sessionId;
        await this.send('Runtime.enable');
        await this.send('Page.enable');
        await this.send('Page.navigate', { url });
    }

    async evaluate(expression) {
        const result = await this.send('Runtime.evaluate', { expression, returnByValue: true });
        return result.result.value;
    }

    // Resolves once `expression` is truthy in the page, checking every 100 ms for `seconds`.
    async waitFor(expression, seconds, what) {
        for (let tries = seconds * 10; tries > 0; --tries) {
            const value = await this.evaluate(expression);
            if (value) {
                return value;
            }
            await sleep(100);
        }
        throw new Error(`timed out waiting for ${what || expression}`);
    }

    async click(x, y) {
        for (const type of ['mouseMoved', 'mousePressed', 'mouseReleased']) {
            await this.send('Input.dispatchMouseEvent',
                            { type, x, y, button: 'left', clickCount: type === 'mouseMoved' ? 0 : 1 });
            await sleep(150); // one press per pass of the program's loop
        }
    }

    key(type, code) {
        return this.send('Input.dispatchKeyEvent', { type, windowsVirtualKeyCode: code });
    }

    // The canvas as { width, height, rgba } (RGBA bytes, top row first), read through a 2D
    // copy of the page's current picture.
    async screenshot() {
        const shot = await this.send('Page.captureScreenshot', { format: 'png' });
        return Buffer.from(shot.data, 'base64');
    }

    close() {
        this.process.kill('SIGKILL');
        this.process.on("exit", () => fs.rmSync(this.profile, { recursive: true, force: true }));
    }
}

function sleep(ms) {
    return new Promise((resolve) => setTimeout(resolve, ms));
}

module.exports = { serve, Browser, sleep };
