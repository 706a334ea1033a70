// Pictures for the browser tests: the launcher's 24-bit BMPs, and masks of white text read from
// frames and kept as PBM files ("P1", with a "# at X Y" line giving the crop's place).
'use strict';
const fs = require('fs');

// An uncompressed 24-bit, bottom-up BMP as { width, height, rgba }.
function readBmp(file) {
    const bmp = fs.readFileSync(file);
    const offset = bmp.readUInt32LE(10), width = bmp.readInt32LE(18), height = bmp.readInt32LE(22);
    if (bmp.readUInt16LE(28) !== 24 || height <= 0) throw new Error(`${file}: not a 24-bit BMP`);
    const stride = (width * 3 + 3) & ~3;
    const rgba = Buffer.alloc(width * height * 4, 255);
    for (let y = 0; y < height; ++y) {
        for (let x = 0; x < width; ++x) {
            const from = offset + (height - 1 - y) * stride + x * 3, to = (y * width + x) * 4;
            rgba[to] = bmp[from + 2];
            rgba[to + 1] = bmp[from + 1];
            rgba[to + 2] = bmp[from];
        }
    }
    return { width, height, rgba };
}

// Text is drawn pure white; the backdrop behind it is darker in every channel.
const kWhite = 230;

// The white pixels of `picture` in the crop { x, y, width, height }, as 0/1 per pixel.
function whiteMask(picture, crop) {
    const bits = [];
    for (let y = crop.y; y < crop.y + crop.height; ++y) {
        for (let x = crop.x; x < crop.x + crop.width; ++x) {
            const i = (y * picture.width + x) * 4;
            bits.push(Math.min(picture.rgba[i], picture.rgba[i + 1], picture.rgba[i + 2]) >= kWhite ? 1 : 0);
        }
    }
    return bits;
}

function readMask(file) {
    const [magic, at, size, ...rows] = fs.readFileSync(file, 'utf8').trim().split('\n');
    const [x, y] = at.replace('# at ', '').split(' ').map(Number);
    const [width, height] = size.split(' ').map(Number);
    if (magic !== 'P1') throw new Error(`${file}: not a P1 mask`);
    return { crop: { x, y, width, height }, bits: rows.join('').replace(/\s/g, '').split('').map(Number) };
}

function writeMask(file, crop, bits) {
    const rows = [];
    for (let y = 0; y < crop.height; ++y) rows.push(bits.slice(y * crop.width, (y + 1) * crop.width).join(''));
    fs.writeFileSync(file, `P1\n# at ${crop.x} ${crop.y}\n${crop.width} ${crop.height}\n${rows.join('\n')}\n`);
}

// True when `picture` shows the mask's text: nearly all of its pixels white, and few others
// (a star of the backdrop, an antialiased edge).
function showsMask(picture, mask) {
    const got = whiteMask(picture, mask.crop);
    let wanted = 0, found = 0, extra = 0;
    mask.bits.forEach((bit, i) => {
        wanted += bit;
        found += bit & got[i];
        extra += got[i] & (1 - bit);
    });
    return found >= 0.97 * wanted && extra <= 0.03 * wanted + 2;
}

module.exports = { readBmp, whiteMask, readMask, writeMask, showsMask };
