# Sourced first by every script here: a failing command ends the script, with one line naming
# the script, the line, the command and its status, also inside a function or a subshell (said
# once, by the script's own shell).
set -eEuo pipefail
failed() { # status line
    [ "$BASHPID" != $$ ] || echo "scripts/${0##*/}: line $2 failed (status $1): $BASH_COMMAND" >&2
}
trap 'failed $? $LINENO' ERR
