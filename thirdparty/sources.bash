# Fetching and unpacking a recipe's pinned sources, sourced by scripts/thirdparty. Not part of
# the libraries' cache keys: a file's pin, not the place it came from, shapes a library. Set by
# the driver: cache, and the recipe's package, version, sources and upstream_sources.

# Where Debian's archive keeps a source package's files; the security archive holds updates.
archive_pools=(http://deb.debian.org/debian/pool/main
    http://deb.debian.org/debian-security/pool/updates/main)

# Fetches a pinned file into the download folder, once: from the source folder (VQ_SOURCES)
# first, else, where the file's set may come from it, Debian's archive. A file whose hash differs
# from its pin is refused with one line (status 1); one found nowhere is status 3, with no line
# (the caller says what is missing as a whole).
source_file() { # package file sha256 archive|folder
    local package="$1" file="$2" pin="$3" download="$cache/src/download" found="" pool sum
    mkdir -p "$download"
    echo "$pin  $download/$file" | sha256sum -c --status 2>/dev/null && return 0
    if [ -n "${VQ_SOURCES:-}" ] && [ -f "$VQ_SOURCES/$file" ]; then
        found="$VQ_SOURCES/$file"
        cp "$found" "$download/$file.part"
    elif [ "$4" = archive ]; then
        local letter="${package:0:1}"
        case "$package" in lib?*) letter="${package:0:4}" ;; esac
        for pool in "${archive_pools[@]}"; do
            found="${pool}/$letter/$package/${file//+/%2b}"
            curl -fsSL --retry 3 -o "$download/$file.part" "$found" 2>/dev/null && break
            found=""
        done
    fi
    if [ -z "$found" ]; then
        rm -f "$download/$file.part"
        return 3
    fi
    sum="$(sha256sum "$download/$file.part" | cut -d' ' -f1)"
    if [ "$sum" != "$pin" ]; then
        rm -f "$download/$file.part"
        echo "thirdparty: refused $found: SHA-256 $sum, the recipe pins $pin" >&2
        return 1
    fi
    mv "$download/$file.part" "$download/$file"
}

# Fetches every file of a set of sources (pins and names, as a recipe lists them) and unpacks
# it into $src once: a Debian source package with Debian's patches applied, a plain tarball into
# its top folder's content. Status as source_file's; with status 3, every file of the set found
# nowhere is named in not_found (", " between them).
unpack_set() { # archive|folder sha256 file ...
    local where="$1" i dsc="" tarball="" status
    shift
    [ -f "$src/.unpacked" ] && return 0
    local set=("$@")
    not_found=""
    for ((i = 0; i < ${#set[@]}; i += 2)); do
        source_file "$package" "${set[i + 1]}" "${set[i]}" "$where" || {
            status=$?
            [ "$status" -eq 3 ] || return "$status"
            not_found+="${not_found:+, }${set[i + 1]}"
            continue
        }
        case "${set[i + 1]}" in
        *.dsc) dsc="${set[i + 1]}" ;;
        *.tar.*) tarball="${set[i + 1]}" ;;
        esac
    done
    [ -z "$not_found" ] || return 3
    rm -rf "$src"
    if [ -n "$dsc" ]; then
        # The files are checked above; the archive here lacks some upstream signatures.
        dpkg-source --no-check -x "$cache/src/download/$dsc" "$src" >&2 || return 1
    else
        mkdir -p "$src"
        tar -xf "$cache/src/download/$tarball" -C "$src" --strip-components=1 || return 1
    fi
    touch "$src/.unpacked"
}

# Sets src, the recipe's sources fetched, checked and unpacked; built_from, what they are, and
# built_sources, their pins and names. Debian's source package first; where one of its files is to
# be had nowhere, the upstream release the recipe may name beside it (upstream_sources, through
# the source folder alone). Status 3, with one line naming what is missing and how to supply it,
# when neither can be had.
unpack_sources() {
    local status missing
    src="$cache/src/${package}_${version#*:}"
    built_from="$package $version"
    built_sources=("${sources[@]}")
    unpack_set archive "${sources[@]}" && return 0 || status=$?
    [ "$status" -eq 3 ] || return "$status"
    missing="in neither VQ_SOURCES (${VQ_SOURCES:-not set}) nor Debian's archive: $not_found"
    if [ ${#upstream_sources[@]} -eq 0 ]; then
        echo "thirdparty: no source of $package: $missing; put them in a folder DIR and set" \
            "VQ_SOURCES=DIR" >&2
        return 3
    fi
    src="$cache/src/$package-$upstream_version"
    built_from="$package $upstream_version, the upstream release"
    built_from+=" (Debian's $version was not to be had)"
    built_sources=("${upstream_sources[@]}")
    unpack_set folder "${upstream_sources[@]}" && return 0 || status=$?
    [ "$status" -eq 3 ] || return "$status"
    echo "thirdparty: no source of $package: $missing; nor the upstream release in VQ_SOURCES:" \
        "$not_found; put Debian's files or the upstream release in a folder DIR and set" \
        "VQ_SOURCES=DIR" >&2
    return 3
}
