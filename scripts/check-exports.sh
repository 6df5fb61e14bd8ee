#!/usr/bin/env bash
# Fails unless ZrWnd.dll exports CreateDrvWnd unmangled and the IWnd and
# IWndFactory classes.
set -euo pipefail
dll="$1"
objdump="${2:-i686-w64-mingw32-objdump}"
exports="$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p')"
fail=0
check() {
  if ! grep -qE "$1" <<<"$exports"; then
    echo "check-exports: $dll does not export $2" >&2
    fail=1
  fi
}
check '\] CreateDrvWnd$' 'CreateDrvWnd (unmangled)'
check '\] _ZN4IWndC[12]Ev$' 'the IWnd constructor'
check '\] _ZN4IWnd7DestroyEv$' 'IWnd::Destroy'
check '\] _ZN4IWnd10RenderSelfEv$' 'IWnd::RenderSelf'
check '\] _ZTV4IWnd$' "IWnd's virtual table"
check '\] _ZN11IWndFactoryC[12]E8ZrString$' 'the IWndFactory constructor'
check '\] _ZN11IWndFactory9CreateWndE8ZrString$' 'IWndFactory::CreateWnd'
[ "$fail" -eq 0 ] && echo "check-exports: $dll exports CreateDrvWnd, IWnd and IWndFactory"
exit "$fail"
