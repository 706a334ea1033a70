// Writes the statistics masks in references/ from frames that Mesa drew at 640 x 480:
//
//   build/default/tools/render_frame --balls=10 --fps=60 --size=640x480 ten.png
//   build/default/tools/render_frame --balls=2 --fps=60 --size=640x480 two.png
//   node tests/web/make_references.js ten.png two.png
'use strict';
const fs = require('fs');
const path = require('path');
const { decodePng } = require('./png.js');
const { whiteMask, writeMask } = require('./pictures.js');

const [ten, two] = process.argv.slice(2).map((file) => decodePng(fs.readFileSync(file)));
const fpsLabel = { x: 12, y: 38, width: 58, height: 20 }; // "FPS:" without the rate
const countLine = { x: 12, y: 62, width: 194, height: 24 };
const folder = path.join(__dirname, 'references');
fs.mkdirSync(folder, { recursive: true });
writeMask(path.join(folder, 'fps_label.pbm'), fpsLabel, whiteMask(ten, fpsLabel));
writeMask(path.join(folder, 'count10.pbm'), countLine, whiteMask(ten, countLine));
writeMask(path.join(folder, 'count2.pbm'), countLine, whiteMask(two, countLine));
