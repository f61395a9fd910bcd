// The manifest gives the two sources their languages by file name and has
// VS Code read and write them as Windows-1252, the bytes the compiler reads.
const assert = require("assert");
const fs = require("fs");
const path = require("path");
const minimatch = require("minimatch");

const manifest = require(path.join(__dirname, "..", "package.json"));
const languages = manifest.contributes.languages;

function languageOf(fileName) {
  const found = languages.filter((l) =>
    (l.filenamePatterns || []).some((p) => minimatch(fileName, p))
  );
  return found.map((l) => l.id);
}

const cases = [
  ["Calvena_Roccalba_linea.txt", ["scenario-line"]],
  ["Calvena_Roccalba_4127-.txt", ["scenario-run"]],
  ["X_1-.txt", ["scenario-run"]],
  ["Long_Name_12345678-.txt", ["scenario-run"]],
  ["Calvena_Roccalba_4127_note.txt", []],
  ["Calvena_Roccalba_4127_rallentamenti.txt", []],
  ["Calvena_Roccalba_4127_scheda_treno.txt", []],
  ["Calvena_Roccalba_41a7-.txt", []],
  ["Calvena_Roccalba_4127.txt", []],
  ["notes.txt", []],
];
for (const [name, ids] of cases)
  assert.deepStrictEqual(languageOf(name), ids, name);

for (const id of ["scenario-line", "scenario-run"]) {
  const defaults = manifest.contributes.configurationDefaults[`[${id}]`];
  assert.ok(defaults, `no defaults for ${id}`);
  assert.strictEqual(defaults["files.encoding"], "windows1252", id);
  assert.ok(manifest.contributes.grammars.some((g) => g.language === id), `no grammar for ${id}`);
}

const setting = manifest.contributes.configuration.properties["scenario.path"];
assert.strictEqual(setting.default, "scenario");
assert.strictEqual(manifest.main, "./extension.js");
assert.ok(manifest.dependencies["vscode-languageclient"]);

// The client library extension.js loads ships with the package.
const client = fs.readFileSync(path.join(__dirname, "..", "extension.js"), "utf8");
assert.ok(client.includes('require("vscode-languageclient/node")'));
assert.ok(require.resolve("vscode-languageclient/node", { paths: [path.join(__dirname, "..")] }));
assert.ok(client.includes('args: ["lsp"]'), "the client starts `scenario lsp`");
console.log("manifest: file patterns, Windows-1252, the tool's path and the client as expected");
