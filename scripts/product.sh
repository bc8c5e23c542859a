# Sourced by the test, demo, release, bench and hostile scripts: the one answer to "can the
# 32-bit product run here", and the product a script runs because of it.
# VT_I386_PROBE and VT_WINE32_LOADER stand in for the kernel probe and the loader in tests.

# vt_i386_runs: 0 where the kernel executes 32-bit programs and the 32-bit Wine is installed and
# starts; VT_I386_WHY says in a few words why it can or cannot.
vt_i386_runs() {
  local probe=${VT_I386_PROBE:-$(dirname "${BASH_SOURCE[0]}")/can-run-i386.sh}
  local loader=${VT_WINE32_LOADER:-/usr/lib/wine/wine}
  if ! bash "$probe"; then
    VT_I386_WHY="this machine's kernel does not execute 32-bit programs"
    return 1
  fi
  if [ ! -x "$loader" ]; then
    VT_I386_WHY="the 32-bit Wine is not installed ($loader is missing)"
    return 1
  fi
  if ! "$loader" --version >/dev/null 2>&1; then
    VT_I386_WHY="the 32-bit Wine does not start ($loader --version fails)"
    return 1
  fi
  VT_I386_WHY="this machine executes 32-bit programs and the 32-bit Wine starts"
}

# vt_pick_product: VT_PRESET and VT_PREFIX_KIND name the 32-bit product and a win32 prefix where
# it can run, else the 64-bit build and a win64 prefix; one line says which and why.
vt_pick_product() {
  if vt_i386_runs; then
    VT_PRESET=windows VT_PREFIX_KIND=win32
    echo "product: the 32-bit build, since $VT_I386_WHY"
  else
    VT_PRESET=windows64 VT_PREFIX_KIND=win64
    echo "product: the 64-bit build, since $VT_I386_WHY"
  fi
}
