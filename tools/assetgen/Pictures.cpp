// The list of pictures: each card with its words and its quad's size, the materials, the
// full-screen pictures and the font sheet.
#include "Pictures.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "Cards.h"
#include "FontSheet.h"
#include "Screens.h"
#include "Surfaces.h"

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
    std::function<Canvas()> make;
    bool upsideDown = false; // drawn upright, stored flipped
};

// The tube's wall, made once: the still picture of the tube is lined with it too.
const Canvas& tunnelWall() {
    // Seen from about 15 units, one repeat spans some 380 x 160 pixels of the screen.
    static const Canvas wall = Surfaces::tunnelPlates(512, 256);
    return wall;
}

std::vector<Entry> entries(const FontSet& fonts) {
    std::vector<Entry> list;
    auto addCard = [&](const char* file, const CardLayout& layout) {
        list.push_back({file, Entry::Translucent,
                        [&fonts, layout] { return Cards::makeCard(layout, fonts); }});
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
    list.push_back(
        {"smiley.png", Entry::Translucent, [far] { return Cards::makeSmiley(2.5f, 2.7f, far); }});

    list.push_back({"marble.0000.png", Entry::Opaque, [] { return Surfaces::marble(512); }});
    list.push_back({"tunnel.png", Entry::Opaque, [] { return tunnelWall(); }});
    list.push_back({"tunnel2.png", Entry::Opaque, [] {
                        return Surfaces::tunnelView(Surfaces::tunnelPlates(1024, 512), 1024, 512);
                    }});
    list.push_back(
        {"overlay.png", Entry::Translucent, [&fonts] { return Screens::barsOverlay(fonts); }});
    list.push_back(
        {"overlay2.png", Entry::Translucent, [&fonts] { return Screens::portholeOverlay(fonts); }});
    // The credits draw it under a projection with y upwards.
    list.push_back({"bg.png", Entry::Opaque, [] { return Screens::creditsBackground(); }, true});
    return list;
}

bool save(const Canvas& c, const std::string& path, Entry::Storage storage) {
    const bool ok = storage == Entry::Raw      ? c.savePngRaw(path)
                    : storage == Entry::Opaque ? c.savePng(path, false)
                                               : c.savePng(path, true);
    std::printf("%s %s (%d x %d)\n", ok ? "wrote" : "FAILED", path.c_str(), c.width(), c.height());
    return ok;
}

} // namespace

bool Pictures::writeAll(const std::string& directory, const FontSet& fonts) {
    for (const Entry& e : entries(fonts)) {
        const auto start = std::chrono::steady_clock::now();
        Canvas c = e.make();
        if (e.upsideDown) {
            c.flipVertical();
        }
        if (!save(c, directory + "/" + e.file, e.storage)) {
            return false;
        }
        const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
        std::printf("  %.2f s\n", spent.count());
    }
    const FontSheetImages sheet = FontSheet::make(fonts, 512, 256);
    return save(sheet.colour, directory + "/font.png", Entry::Raw) &&
           save(sheet.mask, directory + "/font_mask.png", Entry::Opaque);
}
