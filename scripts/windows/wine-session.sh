# Sourced by the scripts that run the Windows build under Wine: a prefix of their own and an X
# server for the windows platform. wine_session PREFIX SCRATCH_DIR exports WINEPREFIX (Wine's
# menu builder off, so that an installer's Start-menu entries stay inside the prefix, out of
# the host's own menus), starts Xvfb (its pid in `xvfb`, for the caller to end), makes the
# prefix when it is new and draws 宋体/SimSun with Droid Sans Fallback, which Wine draws whole
# at small sizes (WenQuanYi loses strokes there).

windows_path() { winepath -w "$1" 2>/dev/null; }

wine_session() {
    export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    local scratch=$2
    local display=:$((70 + RANDOM % 20))
    Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp &
    xvfb=$!
    export DISPLAY=$display
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot --init >/dev/null 2>&1
        wineserver -w
    fi
    {
        printf 'Windows Registry Editor Version 5.00\r\n\r\n'
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
        printf '"SimSun"="Droid Sans Fallback"\r\n"宋体"="Droid Sans Fallback"\r\n\r\n'
        printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
        printf '"Tahoma"=hex(7):%s\r\n' "$(printf 'DroidSansFallbackFull.ttf,Droid Sans Fallback\0\0' |
            iconv -f UTF-8 -t UTF-16LE | od -An -tx1 -v | tr -s ' \n' ',,' | sed 's/^,//; s/,$//')"
    } | { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } >"$scratch/fonts.reg"
    wine regedit /S "$(windows_path "$scratch/fonts.reg")"
}
