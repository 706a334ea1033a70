// Decodes the 8-bit, non-interlaced RGB and RGBA PNGs that Chromium's screenshots are, to RGBA.
'use strict';
const zlib = require('zlib');

function paeth(a, b, c) {
    const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

function unfilter(data, width, height, channels) {
    const stride = width * channels;
    const out = Buffer.alloc(stride * height);
    for (let y = 0, at = 0; y < height; ++y) {
        const filter = data[at++];
        for (let x = 0; x < stride; ++x, ++at) {
            const left = x >= channels ? out[y * stride + x - channels] : 0;
            const up = y > 0 ? out[(y - 1) * stride + x] : 0;
            const corner = x >= channels && y > 0 ? out[(y - 1) * stride + x - channels] : 0;
            const predictors = [0, left, up, (left + up) >> 1, paeth(left, up, corner)];
            out[y * stride + x] = (data[at] + predictors[filter]) & 0xff;
        }
    }
    return out;
}

function decodePng(png) {
    let width = 0, height = 0, colourType = 0;
    const parts = [];
    for (let at = 8; at < png.length;) {
        const length = png.readUInt32BE(at), type = png.toString('ascii', at + 4, at + 8);
        const body = png.subarray(at + 8, at + 8 + length);
        if (type === 'IHDR') {
            width = body.readUInt32BE(0);
            height = body.readUInt32BE(4);
            colourType = body[9];
            if (body[8] !== 8 || body[12] !== 0 || (colourType !== 2 && colourType !== 6)) {
                throw new Error('unsupported PNG layout');
            }
        } else if (type === 'IDAT') {
            parts.push(body);
        }
        at += 12 + length;
    }
    const channels = colourType === 6 ? 4 : 3;
    const pixels = unfilter(zlib.inflateSync(Buffer.concat(parts)), width, height, channels);
    const rgba = Buffer.alloc(width * height * 4, 255);
    for (let i = 0; i < width * height; ++i) {
        pixels.copy(rgba, i * 4, i * channels, i * channels + 3);
    }
    return { width, height, rgba };
}

module.exports = { decodePng };
