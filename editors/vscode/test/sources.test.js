// The grammar tests stand on the program's own sources and on every keyword:
// the test files without their assertion lines are the sources that
// `scenario sources` writes, and the every-keyword files start a line with
// each keyword as `scenario format --json` lists them.
// Usage: node sources.test.js DIR (written by `scenario sources DIR`, with DIR/format.json).
const assert = require("assert");
const fs = require("fs");
const path = require("path");

const dir = process.argv[2];
const here = __dirname;

// The lines of a test file that are not its header or assertions.
function sourceLines(file) {
  return fs
    .readFileSync(path.join(here, file), "latin1")
    .split("\n")
    .slice(1)
    .filter((l) => !l.startsWith("-- "));
}

function writtenLines(suffix) {
  const name = fs.readdirSync(dir).find((f) => f.endsWith(suffix));
  assert.ok(name, `no ${suffix} in ${dir}`);
  const lines = fs.readFileSync(path.join(dir, name), "latin1").split("\r\n");
  if (lines[lines.length - 1] === "") lines.pop();
  return lines;
}

const pairs = [
  ["program_line.txt", writtenLines("_linea.txt")],
  ["program_run.txt", writtenLines("-.txt")],
];
for (const [file, lines] of pairs) {
  const tested = sourceLines(file);
  if (tested[tested.length - 1] === "") tested.pop();
  assert.deepStrictEqual(tested, lines, `${file} is not the program's source`);
}

const reference = JSON.parse(fs.readFileSync(path.join(dir, "format.json"), "utf8"));
const every = sourceLines("every_keyword_line.txt").concat(sourceLines("every_keyword_run.txt"));
let checked = 0;
for (const k of reference.keywords) {
  const words = k.writer_spellings.length ? k.writer_spellings : [k.keyword];
  for (const word of words) {
    assert.ok(every.some((l) => l.startsWith(word + ",")), `no line starts with the keyword ${word}`);
    ++checked;
  }
}
assert.ok(checked >= 20, `only ${checked} keywords in the format reference`);
console.log(`grammar tests: the program's two sources and ${checked} keywords covered`);
