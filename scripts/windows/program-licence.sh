#!/usr/bin/env bash
# The program's own licence as the Windows folder and the installer show it: a notice in
# Chinese and English (where the corresponding source is), then the GPL's text; UTF-8 with its
# mark and CRLF lines, as Notepad and the installer's licence page read them.
#   program-licence.sh VERSION
set -euo pipefail
version=$1
repo=$(realpath "$(dirname "$0")/../..")
{
    printf '\xef\xbb\xbf'
    cat <<TEXT
stockquery $version
Copyright (C) 2026 stockquery developers

本程序是自由软件：您可以依据自由软件基金会发布的 GNU 通用公共许可证第 3 版，或（由您选择）
任何更新的版本，重新分发和/或修改它。发布本程序是希望它有用，但不提供任何担保，甚至不提供
适销性或特定用途适用性的默示担保。详见下面的 GNU 通用公共许可证全文。
对应源代码：stockquery-$version-source.tar.xz，与本程序一同发布。

This program is free software: you can redistribute it and/or modify it under the terms of the
GNU General Public License as published by the Free Software Foundation, either version 3 of
the License, or (at your option) any later version. This program is distributed in the hope
that it will be useful, but WITHOUT ANY WARRANTY; without even the implied warranty of
MERCHANTABILITY or FITNESS FOR A PARTICULAR PURPOSE. See the GNU General Public License below.
Corresponding source: stockquery-$version-source.tar.xz, published beside this program.

The libraries it ships with have licences of their own: see the licences folder.

TEXT
    cat "$repo/LICENSE"
} | sed 's/\r$//; s/$/\r/'
