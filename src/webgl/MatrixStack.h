// One of OpenGL's matrix stacks: a fixed depth, the top is the current matrix.
#pragma once

#include "Matrix4.h"

class MatrixStack {
  public:
    // The depths a GL 1.x driver offers here: 32 for the model-view and the projection stacks.
    static const int DEPTH = 32;

    MatrixStack();

    const Matrix4& top() const { return entries[size - 1]; }
    void load(const Matrix4& matrix) { entries[size - 1] = matrix; }
    // The current matrix times the given one, as every glMult-style call does.
    void multiply(const Matrix4& matrix) { entries[size - 1] = entries[size - 1] * matrix; }
    // False when the stack is full (push) or holds only its base entry (pop): nothing changes.
    bool push();
    bool pop();

  private:
    Matrix4 entries[DEPTH];
    int size;
};
