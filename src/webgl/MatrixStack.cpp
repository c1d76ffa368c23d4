// Push and pop of a matrix stack.
#include "MatrixStack.h"

MatrixStack::MatrixStack() : size(1) {
    for (Matrix4& entry : entries) {
        entry = Matrix4::identity();
    }
}

bool MatrixStack::push() {
    if (size == DEPTH) {
        return false;
    }
    entries[size] = entries[size - 1];
    ++size;
    return true;
}

bool MatrixStack::pop() {
    if (size == 1) {
        return false;
    }
    --size;
    return true;
}
