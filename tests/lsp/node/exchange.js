// A scripted exchange with `scenario lsp` through the protocol libraries VS
// Code's client is built on: open both sources, type a keyword typo, get its
// warning, apply the fix, see the warning go; hover, completion, outline, exit.
//   node exchange.js PATH_TO_SCENARIO
'use strict';
const { spawn, execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const assert = require('assert/strict');
const rpc = require('vscode-jsonrpc/node');
const lsp = require('vscode-languageserver-protocol');

const tool = path.resolve(process.argv[2]);
const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'scenario-lsp-'));
execFileSync(tool, ['sources', dir]);
const lineFile = path.join(dir, 'Calvena_Roccalba_linea.txt');
const runFile = path.join(dir, 'Calvena_Roccalba_4127-.txt');
const uri = (f) => 'file://' + f.split(path.sep).map(encodeURIComponent).join('/');
const lineUri = uri(lineFile);
const runUri = uri(runFile);
// The program's sources are ASCII: latin1 reads them as Windows-1252 would.
const lineText = fs.readFileSync(lineFile, 'latin1');
const runText = fs.readFileSync(runFile, 'latin1');

const server = spawn(tool, ['lsp'], { stdio: ['pipe', 'pipe', 'inherit'] });
const connection = rpc.createMessageConnection(
  new rpc.StreamMessageReader(server.stdout),
  new rpc.StreamMessageWriter(server.stdin));

// Each publish is kept; `published(uri, test)` waits for one that passes.
const waiting = [];
const last = new Map();
const versions = [];
connection.onNotification(lsp.PublishDiagnosticsNotification.type, (params) => {
  last.set(params.uri, params);
  if (params.uri === runUri) versions.push(params.version);
  for (const w of waiting.slice())
    if (w.uri === params.uri && w.test(params)) {
      waiting.splice(waiting.indexOf(w), 1);
      w.resolve(params);
    }
});
function published(target, test) {
  const now = last.get(target);
  if (now && test(now)) return Promise.resolve(now);
  return new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error('no diagnostics for ' + target)), 10000);
    waiting.push({ uri: target, test, resolve: (p) => { clearTimeout(timer); resolve(p); } });
  });
}
connection.listen();

async function main() {
  const init = await connection.sendRequest(lsp.InitializeRequest.type,
    { processId: process.pid, rootUri: uri(dir), capabilities: {} });
  for (const c of ['hoverProvider', 'completionProvider', 'documentSymbolProvider', 'codeActionProvider'])
    assert.ok(init.capabilities[c], c);
  await connection.sendNotification(lsp.InitializedNotification.type, {});

  for (const [u, text] of [[lineUri, lineText], [runUri, runText]])
    await connection.sendNotification(lsp.DidOpenTextDocumentNotification.type,
      { textDocument: { uri: u, languageId: 'scenario', version: 1, text } });
  assert.deepEqual((await published(lineUri, (p) => p.version === 1)).diagnostics, []);
  assert.deepEqual((await published(runUri, (p) => p.version === 1)).diagnostics, []);

  // The first signal keyword mistyped, unsaved.
  const typo = runText.replace('segnale,    3650', 'segnalle,    3650');
  const typoLine = typo.slice(0, typo.indexOf('segnalle')).split('\n').length - 1;
  // Typed as a burst of keystrokes: one compile, the newest text's diagnostics only.
  const burst = ['segnal,    3650', 'segnall,    3650', 'segnalle,    3650'];
  for (let i = 0; i < burst.length; ++i)
    connection.sendNotification(lsp.DidChangeTextDocumentNotification.type,
      { textDocument: { uri: runUri, version: 2 + i },
        contentChanges: [{ text: runText.replace('segnale,    3650', burst[i]) }] });
  const warned = await published(runUri, (p) => p.version === 4);
  assert.deepEqual(versions, [1, 4], 'published versions');
  assert.equal(warned.diagnostics.length, 1, JSON.stringify(warned.diagnostics));
  const d = warned.diagnostics[0];
  assert.equal(d.code, 'unknown-keyword');
  assert.equal(d.severity, lsp.DiagnosticSeverity.Warning);
  assert.deepEqual(d.range, { start: { line: typoLine, character: 0 }, end: { line: typoLine, character: 8 } });
  assert.match(d.message, /did you mean 'segnale'\?/);

  const actions = await connection.sendRequest(lsp.CodeActionRequest.type,
    { textDocument: { uri: runUri }, range: d.range, context: { diagnostics: [d] } });
  assert.equal(actions.length, 1);
  const [edit] = actions[0].edit.changes[runUri];
  assert.equal(edit.newText, 'segnale');
  const lines = typo.split('\n');
  const l = lines[edit.range.start.line];
  lines[edit.range.start.line] = l.slice(0, edit.range.start.character) + edit.newText + l.slice(edit.range.end.character);
  await connection.sendNotification(lsp.DidChangeTextDocumentNotification.type,
    { textDocument: { uri: runUri, version: 5 }, contentChanges: [{ text: lines.join('\n') }] });
  assert.deepEqual((await published(runUri, (p) => p.version === 5)).diagnostics, []);

  // Answered; their content is the features' own tests' business.
  const position = { line: typoLine, character: 2 };
  const hover = await connection.sendRequest(lsp.HoverRequest.type, { textDocument: { uri: runUri }, position });
  assert.ok(hover === null || typeof hover === 'object');
  const items = await connection.sendRequest(lsp.CompletionRequest.type, { textDocument: { uri: runUri }, position });
  assert.ok(Array.isArray(items) || Array.isArray(items.items));
  const symbols = await connection.sendRequest(lsp.DocumentSymbolRequest.type, { textDocument: { uri: lineUri } });
  assert.ok(Array.isArray(symbols));

  await connection.sendRequest(lsp.ShutdownRequest.type);
  const exited = new Promise((resolve) => server.on('exit', resolve));
  await connection.sendNotification(lsp.ExitNotification.type);
  assert.equal(await exited, 0);
  console.log('node client: exchange passed');
}

main().then(() => {
  fs.rmSync(dir, { recursive: true, force: true });
  process.exit(0);
}, (e) => {
  console.error(e);
  server.kill();
  process.exit(1);
});
