-- Neovim's built-in client against `scenario lsp`, headless: the program's
-- own sources and a faulty copy, a keyword typo typed and fixed unsaved,
-- hover, completion and the outline answered.
--   SCENARIO=path/to/scenario nvim --headless -n -u NONE -c "luafile client_test.lua"
local tool = os.getenv('SCENARIO')
local failures = 0
local function check(ok, what)
  if not ok then
    failures = failures + 1
    io.stdout:write('FAILED: ' .. what .. '\n')
  end
end

-- The sources are Windows-1252, as the simulator reads them.
vim.o.fileencodings = 'cp1252'
vim.o.hidden = true

local function sources_in(dir)
  vim.fn.mkdir(dir, 'p')
  vim.fn.system({ tool, 'sources', dir })
  return dir .. '/Calvena_Roccalba_linea.txt', dir .. '/Calvena_Roccalba_4127-.txt'
end

-- Every publish, by buffer: the server's versions come with them.
local published = {}
local default_handler = vim.lsp.handlers['textDocument/publishDiagnostics']
vim.lsp.handlers['textDocument/publishDiagnostics'] = function(err, result, ctx, config)
  default_handler(err, result, ctx, config)
  published[vim.uri_to_bufnr(result.uri)] = result
end

local client = vim.lsp.start_client({ name = 'scenario', cmd = { tool, 'lsp' }, root_dir = vim.fn.getcwd() })
check(client ~= nil, 'the client starts')

local function open(file)
  vim.cmd('edit ' .. vim.fn.fnameescape(file))
  local buf = vim.api.nvim_get_current_buf()
  vim.lsp.buf_attach_client(buf, client)
  return buf
end

local function code_of(d)
  return d.code or (d.user_data and d.user_data.lsp and d.user_data.lsp.code)
end

-- Waits until the buffer's diagnostics pass `test`.
local function diagnostics_when(buf, test, what)
  local ok = vim.wait(10000, function()
    return published[buf] ~= nil and test(vim.diagnostic.get(buf))
  end, 20)
  check(ok, what)
  return vim.diagnostic.get(buf)
end

local function line_of(buf, text)
  for i, l in ipairs(vim.api.nvim_buf_get_lines(buf, 0, -1, false)) do
    if l:find(text, 1, true) then
      return i - 1
    end
  end
  return -1
end

-- The program's own sources: clean.
local dir = vim.fn.tempname()
local line_file, run_file = sources_in(dir .. '/own')
local line_buf = open(line_file)
local run_buf = open(run_file)
diagnostics_when(line_buf, function(list) return #list == 0 end, 'the line description is clean')
diagnostics_when(run_buf, function(list) return #list == 0 end, 'the run description is clean')

-- The run description's first signal keyword mistyped, as typed: not saved.
local row = line_of(run_buf, 'segnale,    3650')
vim.api.nvim_buf_set_text(run_buf, row, 6, row, 6, { 'l' })
check(vim.bo[run_buf].modified, 'the typo is not saved')
local list = diagnostics_when(run_buf, function(l) return #l > 0 end, 'the typo draws a diagnostic')
check(#list == 1, 'one diagnostic for the typo, got ' .. #list)
local d = list[1] or {}
check(code_of(d) == 'unknown-keyword', 'its code is unknown-keyword: ' .. tostring(code_of(d)))
check(d.severity == vim.diagnostic.severity.WARN, 'it is a warning')
check(d.lnum == row and d.col == 0 and d.end_lnum == row and d.end_col == 8,
  string.format('it lies on the keyword field: %s:%s-%s:%s', d.lnum, d.col, d.end_lnum, d.end_col))
check(d.message and d.message:find("did you mean 'segnale'%?") ~= nil, 'it says did you mean: ' .. tostring(d.message))

-- Its fix, applied as the editor applies it; the warning goes.
local params = {
  textDocument = { uri = vim.uri_from_bufnr(run_buf) },
  range = { start = { line = row, character = 0 }, ['end'] = { line = row, character = 8 } },
  context = { diagnostics = vim.lsp.diagnostic.get_line_diagnostics(run_buf, row) },
}
local answers = vim.lsp.buf_request_sync(run_buf, 'textDocument/codeAction', params, 5000) or {}
local actions = (answers[client] or {}).result or {}
check(#actions == 1, 'one code action, got ' .. #actions)
if actions[1] then
  vim.lsp.util.apply_workspace_edit(actions[1].edit, 'utf-16')
end
check(vim.api.nvim_buf_get_lines(run_buf, row, row + 1, false)[1]:sub(1, 8) == 'segnale,', 'the fix restores the keyword')
diagnostics_when(run_buf, function(l) return #l == 0 end, 'the fix clears the warning')

-- Hover, completion and the outline are answered without an error.
local position = { textDocument = { uri = vim.uri_from_bufnr(run_buf) }, position = { line = row, character = 2 } }
for _, method in ipairs({ 'textDocument/hover', 'textDocument/completion', 'textDocument/documentSymbol' }) do
  local r = vim.lsp.buf_request_sync(run_buf, method, position, 5000) or {}
  check(r[client] ~= nil and r[client].err == nil, method .. ' answered')
end

-- A faulty copy: a second signal in the cell of the first is an error on its line.
local faulty_line, faulty_run = sources_in(dir .. '/faulty')
local lines = vim.fn.readfile(faulty_run, 'b')
local signal = row
table.insert(lines, signal + 2, lines[signal + 1])
vim.fn.writefile(lines, faulty_run, 'b')
open(faulty_line)
local faulty_buf = open(faulty_run)
list = diagnostics_when(faulty_buf, function(l) return #l > 0 end, 'the faulty copy draws diagnostics')
local e = list[1] or {}
check(e.severity == vim.diagnostic.severity.ERROR, 'the first is an error')
check(tostring(code_of(e)):match('^E%d+$') ~= nil, 'its code is an error number: ' .. tostring(code_of(e)))
check(e.lnum == signal + 1 and e.col == 0, string.format('it lies on the second signal: %s:%s', e.lnum, e.col))

vim.lsp.stop_client(client)
io.stdout:write(failures == 0 and 'neovim client: all checks passed\n' or (failures .. ' checks failed\n'))
vim.cmd(failures == 0 and 'qall!' or 'cquit! 1')
