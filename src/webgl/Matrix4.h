// A 4 x 4 float matrix in OpenGL's column-major order, with the transforms the layer builds.
#pragma once

struct Matrix4 {
    float m[16]; // element (row r, column c) at m[c * 4 + r]

    static Matrix4 identity();
    // The builders return identity where their arguments describe no transform, as GLU does.
    static Matrix4 ortho(double left, double right, double bottom, double top, double nearVal,
                         double farVal);
    static Matrix4 perspective(double fovyDegrees, double aspect, double zNear, double zFar);
    static Matrix4 lookAt(const double eye[3], const double centre[3], const double up[3]);
    static Matrix4 rotation(float angleDegrees, float x, float y, float z);
    static Matrix4 scaling(float x, float y, float z);

    Matrix4 operator*(const Matrix4& right) const;
};
