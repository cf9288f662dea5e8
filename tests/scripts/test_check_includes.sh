#!/usr/bin/env bash
# scripts/check-includes over a scratch copy of src/ and tools/ with one fault planted per case:
# each must fail with exactly one report, naming the file and line; the plants that are allowed
# must pass.
#   test_check_includes.sh ROOT QT_HEADERS
set -uo pipefail
root=$1
qt_headers=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0

# FILE | SED SCRIPT | EXPECTED REPORT ("@" is the file's last line; empty: the check passes)
cases=(
  'src/bets/pending_bet.cpp|$a #include "card/cardtext.h"|src/bets/pending_bet.cpp:@: bets includes card/cardtext.h, but bets does not use card'
  'src/export/export_text.cpp|$a #include "../bets/pending_bet.h"|src/export/export_text.cpp:@: include by a path with ".."'
  'tools/sample/sample.cpp|$a #include "../../src/app/paths.h"|tools/sample/sample.cpp:@: include by a path with ".."'
  'src/predict/selection.h|$a #include <QtWidgets/QWidget>|src/predict/selection.h:@: predict includes QtWidgets/QWidget of QtWidgets'
  'src/codes/sjis.h|$a #  include <QPixmap>|src/codes/sjis.h:@: codes includes QPixmap of QtGui'
  'src/cli/cli.cpp|$a #include <QtCharts/QChart>|src/cli/cli.cpp:@: cli includes QtCharts/QChart of QtCharts'
  'src/cli/cli.cpp|$a #include "ui/frmabout.h"|src/cli/cli.cpp:@: cli includes ui/frmabout.h, but cli does not use ui'
  'src/modules.txt|s/^core bets: .*/& predict/|bets declares that it uses predict but includes none of its headers'
  'src/modules.txt|/^core pat:/{h;d};/^core card:/G|card uses pat, which is not declared on a line above'
  'src/ledger/ledger.cpp|$a #include "app/paths.h"|src/ledger: folder of src/ not declared in src/modules.txt'
  'src/codes/numeric.h|$a #include "codes/field_table.h"|: include cycle: codes/numeric -> codes/field_table -> codes/numeric (a file'
  'src/bets/pending_bet.cpp|$a #include <QSqlQuery>|src/bets/pending_bet.cpp:@: bets includes QSqlQuery of QtSql'
  'src/modules.txt|s/^core bets: .*/& QtGui/|bets uses QtGui: a module may name only a Qt module without graphics'
  'src/ui/frmabout.cpp|$a #include <QWidget>|'
  'src/codes/sjis.h|$a #include <QtCore/QString>|'
  'src/codes/sjis.h|$a #include <vector>|'
)

for row in "${cases[@]}"; do
  IFS='|' read -r file script expected <<<"$row"
  rm -rf "$scratch/copy" && mkdir "$scratch/copy"
  cp -r "$root/src" "$root/tools" "$scratch/copy/"
  mkdir -p "$(dirname "$scratch/copy/$file")"
  [ -e "$scratch/copy/$file" ] || echo "// a new file" >"$scratch/copy/$file"
  sed -i "$script" "$scratch/copy/$file"
  expected=${expected//@/$(wc -l <"$scratch/copy/$file")}
  out=$("$root/scripts/check-includes" --qt-headers "$qt_headers" "$scratch/copy" 2>/dev/null)
  rc=$?
  if [ -z "$expected" ]; then
    if [ $rc -ne 0 ] || [ -n "$out" ]; then
      echo "FAIL [$file: $script]: expected a pass, got exit $rc:"$'\n'"$out"
      failed=1
    fi
  elif [ $rc -ne 1 ] || [ "$(grep -c . <<<"$out")" -ne 1 ] || [[ $out != *"$expected"* ]]; then
    echo "FAIL [$file: $script]: expected exit 1 and one report \"$expected\", got exit $rc:"$'\n'"$out"
    failed=1
  fi
done
exit $failed
