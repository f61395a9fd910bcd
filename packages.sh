# The Debian packages the project needs, in one place: ./run.sh (the program,
# and the tool when its libraries can be had) and ./test.sh (everything) both
# read these lists. Sourced, not run.

# The program itself: a stock Debian machine with the C++ toolchain has these.
program_packages=(cmake ninja-build g++ libx11-dev libxft-dev)

# The author's tool `scenario` (both builds): JSON, the command line, the page's
# and the editor server's HTTP and sockets, the catalogue's compiler. A stock
# machine lacks them.
tool_packages=(
  nlohmann-json3-dev  # JSON: reports, the page's model, the editor server's messages
  libcli11-dev        # the tool's command line
  libboost-dev        # Beast and Asio: the page's server (`scenario view`)
  libgdal-dev         # GDAL/OGR with PROJ: `scenario import` and `export` (optional: without it they say so)
  gettext             # msgfmt: the Italian catalogue built into the tool
)

# Only the tests need these.
test_packages=(
  clang-format-14                                    # style check
  libgtest-dev libbenchmark-dev                      # unit tests, benchmarks
  xvfb xauth x11-apps imagemagick xdotool            # windows on screen
  clang libclang-rt-dev                              # sanitizers, libFuzzer
  g++-mingw-w64-x86-64-posix googletest wine wine64  # Windows build under Wine
  zip unzip                                          # release packages
  chromium chromium-driver python3-selenium curl     # the viewer in a browser, over HTTP
  neovim                                             # the language server in an editor
  fonts-dejavu-core                                  # the labels' monospace font
  git                                                # the fresh-clone check of the run command
  locales-all                                        # it_IT.UTF-8, for the tool's Italian under Wine
)

# Prints the packages of the arguments that are not installed, one a line.
missing_packages() {
  local p
  for p in "$@"; do
    dpkg -s "$p" >/dev/null 2>&1 || printf '%s\n' "$p"
  done
}

# Installs the given packages with apt-get when run as root. Returns 0 when all
# are there afterwards; otherwise prints the one line that installs them and
# returns 1.
install_packages() {
  local missing
  mapfile -t missing < <(missing_packages "$@")
  ((${#missing[@]})) || return 0
  if [[ $(id -u) -eq 0 ]]; then
    echo "== installing: ${missing[*]}"
    if apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null; then
      return 0
    fi
    echo "apt-get could not install them." >&2
  fi
  echo "Missing packages. Run: sudo apt-get install -y ${missing[*]}" >&2
  return 1
}
