# SPDX-License-Identifier: MIT
# The manual pages keep up with the programs. For each program:
# - every option its --help lists is an item of its page's OPTIONS, and every
#   long option there is one --help lists;
# - every file its page names is one README's "Where the files go" names:
#   the page names files in italics, as manual pages do, and README's table
#   holds them in backquotes, either whole or as a folder and a file name
#   (`$XDG_DATA_HOME/tocka` and `LogData.log` give
#   $XDG_DATA_HOME/tocka/LogData.log);
# - the page renders without a warning.
# Nothing here lists an option or a file: a new one goes into --help or
# README and into the page, and this test follows.
source "$E2E_LIB"
[ -n "${TOCKA_BIN:-}" ] && [ -n "${TALLIO_BIN:-}" ] && [ -n "${TALLIO_REPORT_BIN:-}" ] ||
    fail "TOCKA_BIN, TALLIO_BIN and TALLIO_REPORT_BIN must be set"
command -v groff >/dev/null || fail "needs groff (groff-base, scripts/install-deps.sh test)"
top=$(cd "$(dirname "$E2E_LIB")/../.." && pwd)
readme="$top/README.md"

# The names in backquotes in the table of README's "Where the files go".
sed -n '/^## Where the files go/,/^## /p' "$readme" | grep '^|' | grep -o '`[^`]*`' | tr -d '`' |
    sed 's,/$,,' | sort -u >"$E2E_DIR/known"
[ "$(wc -l <"$E2E_DIR/known")" -ge 5 ] || fail "README's \"Where the files go\" names too little: $(cat "$E2E_DIR/known")"

# Options on --help, each on a line: words that begin with a dash, not the
# dash inside a name such as tallio-report.
help_options() {
    "$1" --help | grep -oE '(^|[][ |(,])--?[A-Za-z][A-Za-z-]*' | sed 's/^[^-]*//' | sort -u || true
}

# The options in the item headings of the page's OPTIONS section.
page_options() {
    perl -ne '
        $in = /^\.SH OPTIONS/ ? 1 : /^\.SH / ? 0 : $in;
        next unless $in;
        if ($heading) {
            s/\\-/-/g;
            print "$1\n" while /(?<![\w-])(--?[A-Za-z][A-Za-z-]*)/g;
        }
        $heading = /^\.TP/;
    ' "$1" | sort -u
}

# The words in italics that are files or folders (they hold a / or a .).
page_files() {
    perl -ne '
        chomp;
        my @italic;
        if (/^\.(I|IR|RI|IB|BI)\s+(.*)$/) {
            my ($macro, $rest, @args) = ($1, $2);
            push @args, defined $1 ? $1 : $2 while $rest =~ /\G\s*(?:"([^"]*)"|(\S+))/gc;
            if ($macro eq "I") {
                push @italic, join(" ", @args);
            } else {
                # The others alternate two faces, beginning with the first letter.
                for (my $i = ($macro =~ /^I/ ? 0 : 1); $i < @args; $i += 2) { push @italic, $args[$i] }
            }
        }
        push @italic, $1 while /\\fI(.*?)\\f[RPB]/g;
        for (@italic) {
            s/\\-/-/g; s/\\\(ti/~/g; s/\\e/\\/g; s/^\s+|\s+$//g;
            print "$_\n" if m{[/.]} && !/\s/;
        }
    ' "$1" | sort -u
}

# A page's file name is known when README names it, names a file inside it
# (it is that file's folder), or names a folder and a file that make it up.
known_file() {
    perl -e '
        my ($name, %known) = ($ARGV[0]);
        open(my $list, "<", $ARGV[1]) or die;
        while (<$list>) { chomp; $known{$_} = 1 }
        $name =~ s{/$}{};
        exit 0 if $known{$name} || grep { index($_, "$name/") == 0 } keys %known;
        for (my $at = index($name, "/"); $at > 0; $at = index($name, "/", $at + 1)) {
            exit 0 if $known{substr($name, 0, $at)} && $known{substr($name, $at + 1)};
        }
        exit 1;
    ' "$1" "$E2E_DIR/known"
}

problems=()
for bin in "$TOCKA_BIN" "$TALLIO_BIN" "$TALLIO_REPORT_BIN"; do
    name=$(basename "$bin")
    page="$top/share/man/$name.1"
    [ -f "$page" ] || { problems+=("$name: no manual page $page"); continue; }

    help_options "$bin" >"$E2E_DIR/help.$name"
    page_options "$page" >"$E2E_DIR/page.$name"
    grep -qx -- --help "$E2E_DIR/help.$name" || fail "$name --help lists no --help: $("$bin" --help)"
    for option in $(comm -23 "$E2E_DIR/help.$name" "$E2E_DIR/page.$name"); do
        problems+=("$name: --help lists $option, the page's OPTIONS do not")
    done
    for option in $(comm -13 "$E2E_DIR/help.$name" "$E2E_DIR/page.$name" | grep -- '^--'); do
        problems+=("$name: the page's OPTIONS list $option, --help does not")
    done

    page_files "$page" >"$E2E_DIR/files.$name"
    grep -qx LogData.log "$E2E_DIR/files.$name" || fail "$name: found no file names in the page: $(cat "$E2E_DIR/files.$name")"
    while read -r file; do
        known_file "$file" || problems+=("$name: the page names $file, which README's \"Where the files go\" does not")
    done <"$E2E_DIR/files.$name"

    warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1)
    [ -z "$warnings" ] || problems+=("$name: the page renders with warnings: $warnings")
done
[ ${#problems[@]} -eq 0 ] || fail "the manual pages are out of step:$(printf '\n  %s' "${problems[@]}")"
echo "manuals: ok"
