# Helpers for the video checks: a span captured as PNG frames and as video, then the video's
# streams, colours and pixels held against the frames. Needs lib.bash, CAPTURE, WORK and build.

YUV_DIFF="$build/tests/vq_yuv_diff"
GPU_YUV="$build/tests/vq_gpu_yuv"
SOUND_SPAN="$build/tests/vq_sound_span"

# vorrel-capture over FROM..TO at SIZE (the default 800x600 passes no --size) into DIR: the PNG
# frames in DIR/frames and the video FILE given; extra arguments go to the capture.
capture_span() { # size from to dir video-file [capture args...]
    local size=$1 from=$2 to=$3 dir=$4 video=$5
    shift 5
    local sized=()
    [ "$size" = 800x600 ] || sized=(--size "$size")
    rm -rf "$dir"
    mkdir -p "$dir"
    "$CAPTURE" "${sized[@]}" --from "$from" --to "$to" --frames "$dir/frames" --video "$video" \
        "$@" >"$dir/out.txt" 2>"$dir/err.txt" || fail "capture of $from..$to at $size: $(tail -n 3 "$dir/err.txt")"
    expect_no_gl_error "$dir/err.txt"
    [ -f "$video" ] || fail "no video written for $from..$to at $size"
    ls "$(dirname "$video")" | grep -q partial && fail "partial files left beside $video"
    return 0
}

# One field of one stream, as ffprobe names it.
stream_field() { # file stream field
    ffprobe -v error -select_streams "$2" -show_entries "stream=$3" -of csv=p=0 "$1"
}

# The number of the first frame at or after a time, at 60 fps, as the capture counts.
frame_at() { # seconds
    awk -v t="$1" 'BEGIN { x = t * 60; n = int(x); if (n < x - 1e-9) n++; print n }'
}

# The PNG frame of the span at index k (0 is the first frame at or after FROM).
span_frame() { # dir from k
    printf "%s/frames/frame-%06d.png" "$1" $(($(frame_at "$2") + $3))
}

# A span in H.264: High profile, yuv420p at SIZE, the colour standard TAG (bt709 or smpte170m)
# on matrix, primaries and transfer in limited range, the chroma sited at the centre, 60 fps,
# the span's frame count and audio as long as the video within one frame. The middle frame,
# decoded and shown the way its tags say, lies within 3 levels per channel of its PNG on
# average: a matrix that does not match its tag shows on saturated colours.
check_h264_span() { # size tag from to
    local size=$1 tag=$2 from=$3 to=$4
    local dir="$WORK/h264-$size-$from"
    local video="$dir/out.mp4"
    capture_span "$size" "$from" "$to" "$dir" "$video"
    local frames
    frames=$(ls "$dir/frames" | wc -l)
    expect_eq "$(stream_field "$video" v:0 codec_name)" h264 "codec at $size"
    expect_eq "$(stream_field "$video" v:0 profile)" High "profile at $size"
    expect_eq "$(stream_field "$video" v:0 pix_fmt)" yuv420p "pixel format at $size"
    expect_eq "$(stream_field "$video" v:0 width)x$(stream_field "$video" v:0 height)" "$size" "frame size"
    expect_eq "$(stream_field "$video" v:0 color_space)" "$tag" "matrix tag at $size"
    expect_eq "$(stream_field "$video" v:0 color_primaries)" "$tag" "primaries tag at $size"
    expect_eq "$(stream_field "$video" v:0 color_transfer)" "$tag" "transfer tag at $size"
    expect_eq "$(stream_field "$video" v:0 color_range)" tv "range at $size"
    expect_eq "$(stream_field "$video" v:0 chroma_location)" center "chroma siting at $size"
    expect_eq "$(stream_field "$video" v:0 r_frame_rate)" 60/1 "frame rate at $size"
    expect_eq "$(stream_field "$video" v:0 nb_frames)" "$frames" "frames in the video at $size"
    expect_eq "$frames" $(($(frame_at "$to") - $(frame_at "$from"))) "frames of the span $from..$to"
    local vdur adur
    vdur=$(stream_field "$video" v:0 duration)
    adur=$(stream_field "$video" a:0 duration)
    awk -v v="$vdur" -v a="$adur" 'BEGIN { d = v - a; if (d < 0) d = -d; exit !(d <= 1.0 / 60) }' \
        || fail "audio $adur s against video $vdur s at $size"

    # The AAC, decoded, lies near the track's samples for the span and far from them one frame
    # either side (measured: see check_aac_span).
    check_aac_span "$dir" "$video" "$from" "$to"

    local k=$((frames / 2))
    ffmpeg -v error -y -i "$video" -vf "select=eq(n\\,$k)" -frames:v 1 -f rawvideo -pix_fmt yuv420p \
        "$dir/frame.yuv" || fail "cannot decode frame $k of $video"
    "$YUV_DIFF" "$(span_frame "$dir" "$from" "$k")" "$dir/frame.yuv" "$tag" >"$dir/diff.txt" \
        || fail "cannot compare frame $k: $(cat "$dir/diff.txt")"
    echo "colours at $size ($tag), t = $from: $(tr '\n' ' ' <"$dir/diff.txt")"
    awk '$1 == "frame" { exit !($2 <= 3 && $3 <= 3 && $4 <= 3) }' "$dir/diff.txt" \
        || fail "frame $k at $from as its $tag tags show it: $(head -n 1 "$dir/diff.txt") levels from its PNG"
    # The black bars dilute the whole frame's mean: the saturated pixels must hold too. Measured
    # in place: up to 8.6 levels (red, at the bars' edges); through the other matrix the green
    # of the same pixels lies 13.6 to 16.8 levels off.
    awk '$1 == "saturated" { exit !($5 >= 1000 && $2 <= 10 && $3 <= 10 && $4 <= 10) }' \
        "$dir/diff.txt" || fail "the saturated pixels of frame $k at $from as its $tag tags show them: $(tail -n 1 "$dir/diff.txt")"
}

# The decoded AAC of a video against the track's samples for its span: the difference's RMS
# relative to the track's, at the span's place and one video frame (735 samples) before and
# after it. Measured on 27..27.5 and 229.5..229.6: 0.088 and 0.127 in place, 1.37 to 1.53 a
# frame off (and about as far for a sound taken from 0): in place within 0.25, and a frame off
# beyond twice that, which shows the span's sound can tell the two apart.
AAC_TOLERANCE=0.25
check_aac_span() { # dir video from to
    local dir=$1 video=$2 first last
    first=$(($(frame_at "$3") * 44100 / 60))
    last=$(($(frame_at "$4") * 44100 / 60))
    ffmpeg -v error -i "$video" -map 0:a -f s16le -ac 2 -ar 44100 "$dir/sound.raw" \
        || fail "cannot decode the AAC of $video"
    local sound
    sound=$("$SOUND_SPAN" mixdown.mp3 "$dir/sound.raw" "$first" $((last - first)) 60) \
        || fail "cannot compare the sound of $video: $sound"
    echo "sound of $3..$4: $(tr '\n' ' ' <<<"$sound")"
    awk -v tolerance=$AAC_TOLERANCE '
        $1 == "frames" { frames = $2 }
        $1 == "shift" && $2 == 0 { at = $4 }
        $1 == "shift" && $2 != 0 && (off == "" || $4 < off) { off = $4 }
        END { exit !(frames >= '"$((last - first))"' && at <= tolerance && off > 2 * tolerance) }' \
        <<<"$sound" || fail "the AAC of $video is not the track's sound for $3..$4: $(tr '\n' ' ' <<<"$sound")"
}

# A span as the lossless master: FFV1 and FLAC in Matroska whose frames decode to the PNG
# frames' very pixels and whose sound has exactly the span's samples.
check_lossless_span() { # size from to
    local size=$1 from=$2 to=$3
    local dir="$WORK/master-$size-$from"
    local video="$dir/master.mkv"
    capture_span "$size" "$from" "$to" "$dir" "$video" --lossless
    expect_eq "$(stream_field "$video" v:0 codec_name)" ffv1 "master's video codec"
    expect_eq "$(stream_field "$video" a:0 codec_name)" flac "master's audio codec"
    local first last
    first=$(frame_at "$from")
    last=$(frame_at "$to")
    local decoded frames
    # Both decodes failing would leave two equal sums of nothing: each status is checked.
    decoded=$(set -o pipefail; ffmpeg -v error -i "$video" -map 0:v -f rawvideo -pix_fmt rgb24 - |
        md5sum) || fail "cannot decode the master's video $video"
    frames=$(set -o pipefail; ffmpeg -v error -framerate 60 -start_number "$first" \
        -i "$dir/frames/frame-%06d.png" -f rawvideo -pix_fmt rgb24 - | md5sum) ||
        fail "cannot read the PNG frames of $dir"
    expect_eq "$decoded" "$frames" "the master's pixels against the PNG frames"
    # The sound: the track's very samples for the span, as our layer decodes it.
    ffmpeg -v error -i "$video" -map 0:a -f s16le "$dir/sound.raw" || fail "cannot decode the FLAC"
    local sound
    local samples=$((last * 44100 / 60 - first * 44100 / 60))
    sound=$("$SOUND_SPAN" mixdown.mp3 "$dir/sound.raw" $((first * 44100 / 60)) $samples 60) \
        || fail "cannot compare the master's sound: $sound"
    expect_eq "$(head -n 1 <<<"$sound")" "frames $samples exact yes" \
        "the master's sound against the track's samples for $from..$to"
}

# The capture's GPU colour conversion of a span's middle PNG frame lies within 1 level, in each
# plane, of ffmpeg's own conversion of that PNG (its scaler as the capture once used it), with
# the matrix for 600 lines and the one for taller frames.
check_gpu_colours() { # dir-of-a-checked-span from
    local dir=$1 from=$2
    local frames png lines tag
    frames=$(ls "$dir/frames" | wc -l)
    png=$(span_frame "$dir" "$from" $((frames / 2)))
    for lines in 600 1080; do
        tag=smpte170m
        [ "$lines" = 600 ] || tag=bt709
        ffmpeg -v error -y -i "$png" \
            -vf "scale=out_color_matrix=$tag:out_range=tv:flags=bicubic+accurate_rnd,format=yuv420p" \
            -f rawvideo "$dir/ffmpeg-$tag.yuv" || fail "ffmpeg cannot convert $png"
        "$GPU_YUV" "$png" "$lines" "$dir/ffmpeg-$tag.yuv" >"$dir/gpu-$tag.txt" \
            || fail "GPU conversion of $png: $(cat "$dir/gpu-$tag.txt")"
        echo "GPU against ffmpeg at $from, matrix, Y U V: $(cat "$dir/gpu-$tag.txt")"
        awk -v tag="$tag" '$1 == tag && $2 <= 1 && $3 <= 1 && $4 <= 1 { ok = 1 } END { exit !ok }' \
            "$dir/gpu-$tag.txt" || fail "GPU conversion ($tag) of $png: $(cat "$dir/gpu-$tag.txt")"
    done
}
