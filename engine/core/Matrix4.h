#pragma once
// A 4x4 float matrix stored row by row, acting on column vectors: the translation sits in the
// last column (m[0][3], m[1][3], m[2][3]). Transforms and particle model matrices use it; the
// shader programs transpose it.

namespace Varn
{

struct Matrix4
{
    float m[4][4] = {}; // all zero until computed

    static constexpr Matrix4 Identity()
    {
        Matrix4 r;
        for (int i = 0; i < 4; ++i)
        {
            r.m[i][i] = 1.0f;
        }
        return r;
    }

    constexpr Matrix4 operator*(const Matrix4& o) const
    {
        Matrix4 r;
        for (int i = 0; i < 4; ++i)
        {
            for (int j = 0; j < 4; ++j)
            {
                float sum = 0.0f;
                for (int k = 0; k < 4; ++k)
                {
                    sum += m[i][k] * o.m[k][j];
                }
                r.m[i][j] = sum;
            }
        }
        return r;
    }

    constexpr bool operator==(const Matrix4& o) const
    {
        for (int i = 0; i < 4; ++i)
        {
            for (int j = 0; j < 4; ++j)
            {
                if (m[i][j] != o.m[i][j])
                {
                    return false;
                }
            }
        }
        return true;
    }
};

} // namespace Varn
