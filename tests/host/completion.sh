#!/usr/bin/env bash
# Bash completion of corehost (completions/corehost): the function driven as
# bash drives it over a table of lines, with bash-completion's helpers and
# without; then Tab in bash in tmux. Usage: completion.sh COREHOST SOURCE_DIR
corehost=$1 && cd "$2" || exit 1
helpers=/usr/share/bash-completion/bash_completion
[[ -r $helpers ]] && command -v tmux >/dev/null || { echo "needs bash-completion and tmux"; exit 77; }
export PATH=$(dirname "$corehost"):$PATH lib=$(dirname "$corehost")/../lib

# Completes at the end of each line of the table ("LINE => REPLIES", the replies
# sorted) in a new bash, with the helpers when $1 is set; prints what differs.
table() {
    bash -c '[[ -n $1 ]] && source "$1"; source completions/corehost
    while IFS= read -r entry; do
        line=${entry% => *} expected=${entry##* => }
        read -ra COMP_WORDS <<<"${line//=/ = }" # "=" breaks words in bash
        [[ $line == *" " ]] && COMP_WORDS+=("")
        COMP_LINE=$line COMP_POINT=${#line} COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) COMPREPLY=()
        _corehost corehost
        got=$(printf "%s\n" "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd" ")
        [[ $got == "$expected" ]] || echo "\"$line\" gave \"$got\", not \"$expected\" (${1:-no helpers})"
    done; [[ ! -e completion-ran-it ]] || echo "completing ran a command from a rule id"' table "$1" <<EOF
corehost  => check diff eval list report
corehost report --si => --since
corehost --plugin x.so --set a=b l => list
corehost --t => --trace
corehost eval --format ju => junit
corehost eval --format=ju => junit
corehost eval --format j => junit
corehost eval --format js => json
corehost eval --fail-on h => high
corehost list -- => --help --json --markdown --plugin --set --trace
corehost eval tests/host/data/completion.json --tag  => a\ b smoke
corehost check examples/rule-pack.json --r => --rules
corehost eval examples/rule-pack.json --rule  => certificate-path-absolute channel-is-stable enabled-modules no-debug-logging settings-small tls-enabled version-supported
corehost eval --rule c examples/rule-pack.json --rule=c => certificate-path-absolute channel-is-stable
corehost eval examples/rule-pack.json --tag s => security
corehost --plugin $lib/libFakePlugin.so check tests/host/data/completion.json --rule  => \\\$\(touch\ completion-ran-it\) new\ line plain two\ words
corehost --plugin nothing.so eval examples/rule-pack.json --rule  => 
corehost eval examples/version-check.json --rule  => 
corehost check examples/rule-p => examples/rule-pack.json
corehost eval examples/data/app.i => 
corehost eval -o examples/data/app.i => examples/data/app.ini
corehost --plugin $lib/libSys => $lib/libSystemPlugin.so $lib/libSystemPluginBus.so $lib/libSystemPluginDigest.so
EOF
}
failures=$( (table "$helpers"; table "") 2>&1)

socket=$(mktemp -u) && trap 'tmux -S "$socket" kill-server 2>/dev/null' EXIT
tmux -S "$socket" new-session -d -x 160 -y 10 "INPUTRC=/dev/null HISTFILE= bash --norc --noprofile -i"
tmux -S "$socket" send-keys "PS1='$ '; source $helpers; source completions/corehost; clear" Enter
sleep 1
tmux -S "$socket" send-keys "corehost eval --format j" Tab
for _ in {1..50}; do
    screen=$(tmux -S "$socket" capture-pane -p)
    [[ $screen == *"corehost eval --format junit"* ]] && break
    sleep 0.1
done
[[ $screen == *"corehost eval --format junit"* ]] ||
    failures+=$'\n'"Tab in bash (tmux) did not complete to junit; the screen:"$'\n'$screen
[[ -z $failures ]] || { echo "$failures"; exit 1; }
echo "completion: 20 lines with and without bash-completion, and Tab in bash: as expected"
