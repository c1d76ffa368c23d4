// The layer's texture names and the kept state.
#include "ContextCopy.h"

unsigned ContextCopy::add() {
    made.push_back(Texture());
    made.back().live = true;
    return static_cast<unsigned>(made.size());
}

void ContextCopy::remove(unsigned name) {
    Texture* t = texture(name);
    if (t) {
        *t = Texture();
    }
    if (bound == name) {
        bound = 0;
    }
}

ContextCopy::Texture* ContextCopy::texture(unsigned name) {
    if (name == 0 || name > made.size() || !made[name - 1].live) {
        return nullptr;
    }
    return &made[name - 1];
}

void ContextCopy::parameter(unsigned name, unsigned pname, int value) {
    Texture* t = texture(name);
    if (!t) {
        return;
    }
    for (auto& each : t->parameters) {
        if (each.first == pname) {
            each.second = value;
            return;
        }
    }
    t->parameters.push_back(std::make_pair(pname, value));
}

size_t ContextCopy::bytes() const {
    size_t total = 0;
    for (const Texture& t : made) {
        for (const MipmapChain::Level& level : t.levels) {
            total += level.rgba.size();
        }
    }
    return total;
}

void ContextCopy::capability(unsigned cap, bool on) {
    for (auto& each : caps) {
        if (each.first == cap) {
            each.second = on;
            return;
        }
    }
    caps.push_back(std::make_pair(cap, on));
}
