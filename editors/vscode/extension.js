// Starts `scenario lsp` for the line and run descriptions and hands it the
// open files; everything the editor shows comes from the server.
const vscode = require("vscode");
const { LanguageClient } = require("vscode-languageclient/node");

let client;

function activate(context) {
  const tool = vscode.workspace.getConfiguration("scenario").get("path") || "scenario";
  client = new LanguageClient(
    "scenario",
    "Scenario",
    { command: tool, args: ["lsp"] },
    {
      documentSelector: [
        { scheme: "file", language: "scenario-line" },
        { scheme: "file", language: "scenario-run" },
        { scheme: "untitled", language: "scenario-line" },
        { scheme: "untitled", language: "scenario-run" },
      ],
    }
  );
  context.subscriptions.push(
    vscode.workspace.onDidChangeConfiguration((e) => {
      if (e.affectsConfiguration("scenario.path"))
        vscode.window.showInformationMessage("Reload the window to start the new scenario tool.");
    })
  );
  return client.start();
}

function deactivate() {
  return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
