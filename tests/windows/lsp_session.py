#!/usr/bin/env python3
"""Writes an editor's session with `scenario lsp` to a file, or reads what the
server answered and prints its responses' ids and its diagnostics as JSON.

  lsp_session.py write DIR SESSION    (DIR holds the program's two sources)
  lsp_session.py read ANSWERS
"""
import json
import sys


def framed(message):
    body = json.dumps(message).encode()
    return b"Content-Length: %d\r\n\r\n" % len(body) + body


def write(directory, session):
    line_uri = "file:///s/Calvena_Roccalba_linea.txt"
    run_uri = "file:///s/Calvena_Roccalba_4127-.txt"
    line = open(directory + "/Calvena_Roccalba_linea.txt", encoding="cp1252").read()
    run = open(directory + "/Calvena_Roccalba_4127-.txt", encoding="cp1252").read()
    # A keyword typo, an accented letter and a character outside Windows-1252.
    faulty = run.replace("segnale,    3650", "segnalle,    3650", 1).replace("CALVENA OVEST", "CALVÉNA \U0001F600")
    messages = [
        {"jsonrpc": "2.0", "id": 1, "method": "initialize", "params": {"capabilities": {}}},
        {"jsonrpc": "2.0", "method": "initialized", "params": {}},
    ]
    for uri, text in ((line_uri, line), (run_uri, run)):
        messages.append({"jsonrpc": "2.0", "method": "textDocument/didOpen",
                         "params": {"textDocument": {"uri": uri, "languageId": "scenario", "version": 1, "text": text}}})
    messages.append({"jsonrpc": "2.0", "method": "textDocument/didChange",
                     "params": {"textDocument": {"uri": run_uri, "version": 2}, "contentChanges": [{"text": faulty}]}})
    # A request answers from the newest text: the diagnostics come before it.
    messages.append({"jsonrpc": "2.0", "id": 2, "method": "textDocument/documentSymbol",
                     "params": {"textDocument": {"uri": run_uri}}})
    messages.append({"jsonrpc": "2.0", "id": 3, "method": "shutdown"})
    messages.append({"jsonrpc": "2.0", "method": "exit"})
    with open(session, "wb") as out:
        for m in messages:
            out.write(framed(m))


def read(answers):
    data = open(answers, "rb").read()
    out = []
    while data:
        head, _, rest = data.partition(b"\r\n\r\n")
        length = int(head.split(b":")[1])
        message = json.loads(rest[:length])
        data = rest[length:]
        if "id" in message:
            out.append({"id": message["id"], "answered": "result" in message})
        else:
            out.append(message["params"])
    print(json.dumps(out, indent=1, sort_keys=True))


if __name__ == "__main__":
    if sys.argv[1] == "write":
        write(sys.argv[2], sys.argv[3])
    else:
        read(sys.argv[2])
