# What every bench script starts with: the tree and its release build, the headless environment
# the tests run in, and a scratch folder removed at the exit (root, build, tmp).
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build"
set -a
VQ_SOURCE_DIR="$root"
source "$root/scripts/headless.env"
set +a
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
