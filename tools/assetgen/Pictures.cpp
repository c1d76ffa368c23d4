// The list of pictures: each card with its words and its quad's size, the materials, the
// full-screen pictures and the font sheet, sized for the frame height asked for.
#include "assetgen/Pictures.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "assetgen/Cards.h"
#include "assetgen/FontSheet.h"
#include "assetgen/Screens.h"
#include "assetgen/Sides.h"
#include "assetgen/Surfaces.h"

namespace {

CardLayout card(const char* text, float w, float h, Face face, const LetterStyle& style,
                float texelsPerUnit, float maxEm = 100.0f) {
    CardLayout s;
    s.text = text;
    s.quadWidth = w;
    s.quadHeight = h;
    s.face = face;
    s.style = style;
    s.maxEm = maxEm;
    s.texelsPerUnit = texelsPerUnit;
    return s;
}

struct Entry {
    const char* file;
    enum Storage { Opaque, Translucent, Raw } storage;
    int width;
    int height;
    std::function<Canvas(const FontSet&)> make;
    bool upsideDown = false; // drawn upright, stored flipped
};

// How much larger than a 600-line frame the pictures are made for.
float scaleOf(int frameHeight) {
    return static_cast<float>(frameHeight) / Pictures::BASE_HEIGHT;
}

// A picture of the 600-line set grown with the frame: about the same texels per pixel on
// screen, the long side rounded to a power of two (at most Sides::MAX), the shape kept.
void grow(int baseWidth, int baseHeight, int frameHeight, int& width, int& height) {
    const int longSide = std::max(baseWidth, baseHeight);
    const int grown = Sides::nearest(longSide * scaleOf(frameHeight));
    width = static_cast<int>(static_cast<long>(baseWidth) * grown / longSide);
    height = static_cast<int>(static_cast<long>(baseHeight) * grown / longSide);
}

std::vector<Entry> entries(int frameHeight) {
    std::vector<Entry> list;
    const float scale = scaleOf(frameHeight);
    auto addCard = [&](const char* file, CardLayout layout) {
        layout.scale = scale;
        int w = 0, h = 0;
        Cards::pictureSize(layout.quadWidth, layout.quadHeight, layout.texelsPerUnit * scale, w, h);
        list.push_back({file, Entry::Translucent, w, h,
                        [layout](const FontSet& fonts) { return Cards::makeCard(layout, fonts); }});
    };
    auto add = [&](const char* file, Entry::Storage storage, int baseWidth, int baseHeight,
                   std::function<Canvas(const FontSet&, int, int)> make, bool upsideDown = false) {
        int w = 0, h = 0;
        grow(baseWidth, baseHeight, frameHeight, w, h);
        list.push_back({file, storage, w, h,
                        [make, w, h](const FontSet& fonts) { return make(fonts, w, h); },
                        upsideDown});
    };
    const Face B = Face::Bold, C = Face::Condensed, S = Face::SerifItalic;
    // The opening cards; the quads' sizes are those the title scene draws them at, the
    // densities what the nearest frame shows of them (Vorrel at 10 units, Quisp at 4).
    addCard("vorrel.png", card("VORREL", 8.5f, 5.5f, B, Cards::chrome(), 120.0f));
    addCard("quisp.png", card("QUISP", 4.5f, 2.5f, B, Cards::chrome(), 200.0f));
    addCard("presents.png", card("presents", 2.5f, 1.5f, S, Cards::pale(), 100.0f));
    addCard("morvane.png", card("MORVANE", 6.5f, 4.5f, B, Cards::gold(), 78.0f));
    // The credits cards, which fly up to the near plane: roles in italics, names in chrome.
    const float near = 140.0f;
    addCard("code.png", card("code", 1.5f, 1.5f, S, Cards::amber(), near));
    addCard("pevrick.png", card("PEVRICK", 4.5f, 2.5f, B, Cards::chrome(), near));
    addCard("telquin.png", card("TELQUIN", 3.5f, 2.5f, B, Cards::chrome(), near));
    addCard("music.png", card("music", 2.5f, 2.5f, S, Cards::amber(), near));
    addCard("and.png", card("and", 1.5f, 1.5f, S, Cards::amber(), near));
    addCard("graphics.png", card("graphics", 2.0f, 2.5f, S, Cards::amber(), near));
    addCard("ulmerd.png", card("ULMERD", 4.5f, 2.5f, B, Cards::chrome(), near));
    // The closing message, all in one plane 17 units away (about 43 pixels a unit): a shared
    // largest em keeps the words in scale.
    const float em = 1.2f;
    const float far = 64.0f;
    addCard("greetings.png", card("GREETINGS", 4.0f, 2.0f, C, Cards::pale(), far, em));
    addCard("is.png", card("IS", 2.8f, 2.0f, B, Cards::pale(), far, em));
    addCard("like.png", card("LIKE", 2.5f, 1.5f, B, Cards::pale(), far, em));
    addCard("redsex.png", card("SEX", 3.6f, 3.0f, B, Cards::red(), far, 1.6f));
    addCard("some.png", card("SOME", 3.5f, 3.0f, B, Cards::pale(), far, em));
    addCard("get.png", card("GET", 2.5f, 3.0f, B, Cards::pale(), far, em));
    addCard("it.png", card("IT", 2.7f, 3.0f, B, Cards::pale(), far, em));
    addCard("dont.png", card("DON'T", 2.0f, 2.7f, C, Cards::pale(), far, em));
    {
        int w = 0, h = 0;
        Cards::pictureSize(2.5f, 2.7f, far * scale, w, h);
        list.push_back({"smiley.png", Entry::Translucent, w, h, [far, scale](const FontSet&) {
                            return Cards::makeSmiley(2.5f, 2.7f, far * scale);
                        }});
    }

    add("marble.0000.png", Entry::Opaque, 512, 512,
        [](const FontSet&, int w, int) { return Surfaces::marble(w); });
    // The tube's wall: seen from about 15 units, one repeat spans some 380 x 160 pixels of a
    // 600-line frame.
    add("tunnel.png", Entry::Opaque, 512, 256,
        [](const FontSet&, int w, int h) { return Surfaces::tunnelPlates(w, h); });
    add("tunnel2.png", Entry::Opaque, 1024, 512, [](const FontSet&, int w, int h) {
        return Surfaces::tunnelView(Surfaces::tunnelPlates(w, h), w, h);
    });
    add("overlay.png", Entry::Translucent, 1024, 512,
        [](const FontSet& fonts, int w, int h) { return Screens::barsOverlay(fonts, w, h); });
    add("overlay2.png", Entry::Translucent, 1024, 512,
        [](const FontSet& fonts, int w, int h) { return Screens::portholeOverlay(fonts, w, h); });
    // The credits draw it under a projection with y upwards.
    add(
        "bg.png", Entry::Opaque, 1024, 512,
        [](const FontSet&, int w, int h) { return Screens::creditsBackground(w, h); }, true);
    return list;
}

// The scroller's font sheet at 600 lines: 13 x 4 cells of about 39 x 64 texels.
const int FONT_WIDTH = 512;
const int FONT_HEIGHT = 256;

// Saves the picture and adds a line saying so to the log.
bool save(const Canvas& c, const std::string& path, Entry::Storage storage, std::string& log) {
    const bool ok = storage == Entry::Raw      ? c.savePngRaw(path)
                    : storage == Entry::Opaque ? c.savePng(path, false)
                                               : c.savePng(path, true);
    char line[512];
    std::snprintf(line, sizeof(line), "%s %s (%d x %d)\n", ok ? "wrote" : "FAILED", path.c_str(),
                  c.width(), c.height());
    log += line;
    return ok;
}

// One job of the list: a picture, or the font sheet's two files after the last picture.
struct Job {
    bool ok = false;
    std::string log;
};

void makeJob(size_t index, const std::vector<Entry>& list, const std::string& directory,
             const FontSet& fonts, int frameHeight, Job& job) {
    const auto start = std::chrono::steady_clock::now();
    if (index < list.size()) {
        const Entry& e = list[index];
        Canvas c = e.make(fonts);
        if (e.upsideDown) {
            c.flipVertical();
        }
        job.ok = save(c, directory + "/" + e.file, e.storage, job.log);
    } else {
        int w = 0, h = 0;
        grow(FONT_WIDTH, FONT_HEIGHT, frameHeight, w, h);
        const FontSheetImages sheet = FontSheet::make(fonts, w, h);
        job.ok = save(sheet.colour, directory + "/font.png", Entry::Raw, job.log) &&
                 save(sheet.mask, directory + "/font_mask.png", Entry::Opaque, job.log);
    }
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    char line[64];
    std::snprintf(line, sizeof(line), "  %.2f s\n", spent.count());
    job.log += line;
}

} // namespace

std::vector<Pictures::File> Pictures::files(int frameHeight) {
    std::vector<File> list;
    for (const Entry& e : entries(frameHeight)) {
        list.push_back({e.file, e.width, e.height});
    }
    int fontWidth = 0, fontHeight = 0;
    grow(FONT_WIDTH, FONT_HEIGHT, frameHeight, fontWidth, fontHeight);
    list.push_back({"font.png", fontWidth, fontHeight});
    list.push_back({"font_mask.png", fontWidth, fontHeight});
    return list;
}

bool Pictures::writeAll(const std::string& directory, const std::string& fontDirectory,
                        int frameHeight) {
    const std::vector<Entry> list = entries(frameHeight);
    std::vector<Job> jobs(list.size() + 1);
    std::atomic<size_t> next(0);
    // The pictures are independent: one worker per core, each with faces of its own (a
    // FreeType face serves one thread at a time).
    auto work = [&] {
        const FontSet fonts(fontDirectory);
        for (size_t i = next++; i < jobs.size(); i = next++) {
            if (fonts.ok()) {
                makeJob(i, list, directory, fonts, frameHeight, jobs[i]);
            }
        }
    };
    const unsigned workers = std::max(1u, std::min(std::thread::hardware_concurrency(), 8u));
    std::vector<std::thread> threads;
    for (unsigned i = 1; i < workers; ++i) {
        threads.emplace_back(work);
    }
    work();
    for (std::thread& t : threads) {
        t.join();
    }
    bool ok = true;
    for (const Job& job : jobs) {
        std::fputs(job.log.c_str(), stdout);
        ok = ok && job.ok;
    }
    return ok;
}
