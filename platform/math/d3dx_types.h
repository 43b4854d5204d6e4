#pragma once

#include <cstdint>

// Vector, quaternion, matrix and colour value types laid out as D3DX lays them out: plain floats
// in declaration order, row vectors (v' = v x M) and matrix elements _11 .. _44 by row. Every
// member starts at zero. The operators are the component-wise ones D3DX offers.

struct D3DXVECTOR2 {
  float x = 0, y = 0;

  constexpr D3DXVECTOR2() = default;
  constexpr D3DXVECTOR2(float x_, float y_) : x(x_), y(y_) {}

  constexpr D3DXVECTOR2& operator+=(const D3DXVECTOR2& v) {
    x += v.x, y += v.y;
    return *this;
  }
  constexpr D3DXVECTOR2& operator-=(const D3DXVECTOR2& v) {
    x -= v.x, y -= v.y;
    return *this;
  }
  constexpr D3DXVECTOR2& operator*=(float f) {
    x *= f, y *= f;
    return *this;
  }
  constexpr D3DXVECTOR2& operator/=(float f) {
    x /= f, y /= f;
    return *this;
  }
  constexpr D3DXVECTOR2 operator-() const { return {-x, -y}; }
  constexpr D3DXVECTOR2 operator+(const D3DXVECTOR2& v) const { return {x + v.x, y + v.y}; }
  constexpr D3DXVECTOR2 operator-(const D3DXVECTOR2& v) const { return {x - v.x, y - v.y}; }
  constexpr D3DXVECTOR2 operator*(float f) const { return {x * f, y * f}; }
  constexpr D3DXVECTOR2 operator/(float f) const { return {x / f, y / f}; }
  friend constexpr D3DXVECTOR2 operator*(float f, const D3DXVECTOR2& v) { return v * f; }
  friend constexpr bool operator==(const D3DXVECTOR2&, const D3DXVECTOR2&) = default;
};

struct D3DXVECTOR3 {
  float x = 0, y = 0, z = 0;

  constexpr D3DXVECTOR3() = default;
  constexpr D3DXVECTOR3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

  constexpr D3DXVECTOR3& operator+=(const D3DXVECTOR3& v) {
    x += v.x, y += v.y, z += v.z;
    return *this;
  }
  constexpr D3DXVECTOR3& operator-=(const D3DXVECTOR3& v) {
    x -= v.x, y -= v.y, z -= v.z;
    return *this;
  }
  constexpr D3DXVECTOR3& operator*=(float f) {
    x *= f, y *= f, z *= f;
    return *this;
  }
  constexpr D3DXVECTOR3& operator/=(float f) {
    x /= f, y /= f, z /= f;
    return *this;
  }
  constexpr D3DXVECTOR3 operator-() const { return {-x, -y, -z}; }
  constexpr D3DXVECTOR3 operator+(const D3DXVECTOR3& v) const {
    return {x + v.x, y + v.y, z + v.z};
  }
  constexpr D3DXVECTOR3 operator-(const D3DXVECTOR3& v) const {
    return {x - v.x, y - v.y, z - v.z};
  }
  constexpr D3DXVECTOR3 operator*(float f) const { return {x * f, y * f, z * f}; }
  constexpr D3DXVECTOR3 operator/(float f) const { return {x / f, y / f, z / f}; }
  friend constexpr D3DXVECTOR3 operator*(float f, const D3DXVECTOR3& v) { return v * f; }
  friend constexpr bool operator==(const D3DXVECTOR3&, const D3DXVECTOR3&) = default;
};

struct D3DXVECTOR4 {
  float x = 0, y = 0, z = 0, w = 0;

  constexpr D3DXVECTOR4() = default;
  constexpr D3DXVECTOR4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
  constexpr D3DXVECTOR4(const D3DXVECTOR3& v, float w_) : x(v.x), y(v.y), z(v.z), w(w_) {}

  constexpr D3DXVECTOR4& operator+=(const D3DXVECTOR4& v) {
    x += v.x, y += v.y, z += v.z, w += v.w;
    return *this;
  }
  constexpr D3DXVECTOR4& operator-=(const D3DXVECTOR4& v) {
    x -= v.x, y -= v.y, z -= v.z, w -= v.w;
    return *this;
  }
  constexpr D3DXVECTOR4& operator*=(float f) {
    x *= f, y *= f, z *= f, w *= f;
    return *this;
  }
  constexpr D3DXVECTOR4& operator/=(float f) {
    x /= f, y /= f, z /= f, w /= f;
    return *this;
  }
  constexpr D3DXVECTOR4 operator-() const { return {-x, -y, -z, -w}; }
  constexpr D3DXVECTOR4 operator+(const D3DXVECTOR4& v) const {
    return {x + v.x, y + v.y, z + v.z, w + v.w};
  }
  constexpr D3DXVECTOR4 operator-(const D3DXVECTOR4& v) const {
    return {x - v.x, y - v.y, z - v.z, w - v.w};
  }
  constexpr D3DXVECTOR4 operator*(float f) const { return {x * f, y * f, z * f, w * f}; }
  constexpr D3DXVECTOR4 operator/(float f) const { return {x / f, y / f, z / f, w / f}; }
  friend constexpr D3DXVECTOR4 operator*(float f, const D3DXVECTOR4& v) { return v * f; }
  friend constexpr bool operator==(const D3DXVECTOR4&, const D3DXVECTOR4&) = default;
};

// (x, y, z) is the vector part, w the scalar part; the identity is (0, 0, 0, 1).
struct D3DXQUATERNION {
  float x = 0, y = 0, z = 0, w = 1;

  constexpr D3DXQUATERNION() = default;
  constexpr D3DXQUATERNION(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
  friend constexpr bool operator==(const D3DXQUATERNION&, const D3DXQUATERNION&) = default;
};

struct D3DXMATRIX {
  float _11 = 0, _12 = 0, _13 = 0, _14 = 0;
  float _21 = 0, _22 = 0, _23 = 0, _24 = 0;
  float _31 = 0, _32 = 0, _33 = 0, _34 = 0;
  float _41 = 0, _42 = 0, _43 = 0, _44 = 0;

  constexpr D3DXMATRIX() = default;
  constexpr D3DXMATRIX(float m11, float m12, float m13, float m14, float m21, float m22, float m23,
                       float m24, float m31, float m32, float m33, float m34, float m41, float m42,
                       float m43, float m44)
      : _11(m11),
        _12(m12),
        _13(m13),
        _14(m14),
        _21(m21),
        _22(m22),
        _23(m23),
        _24(m24),
        _31(m31),
        _32(m32),
        _33(m33),
        _34(m34),
        _41(m41),
        _42(m42),
        _43(m43),
        _44(m44) {}

  // Element (row, column), both 0-based: (0, 3) is _14.
  constexpr float& operator()(int row, int column) { return this->*kElements[row][column]; }
  constexpr float operator()(int row, int column) const { return this->*kElements[row][column]; }

  D3DXMATRIX& operator*=(const D3DXMATRIX& m);
  D3DXMATRIX& operator+=(const D3DXMATRIX& m);
  D3DXMATRIX& operator-=(const D3DXMATRIX& m);
  D3DXMATRIX& operator*=(float f);
  D3DXMATRIX operator*(const D3DXMATRIX& m) const;
  D3DXMATRIX operator+(const D3DXMATRIX& m) const;
  D3DXMATRIX operator-(const D3DXMATRIX& m) const;
  D3DXMATRIX operator*(float f) const;
  friend D3DXMATRIX operator*(float f, const D3DXMATRIX& m) { return m * f; }
  friend constexpr bool operator==(const D3DXMATRIX&, const D3DXMATRIX&) = default;

 private:
  using Element = float D3DXMATRIX::*;
  static constexpr Element kElements[4][4] = {
      {&D3DXMATRIX::_11, &D3DXMATRIX::_12, &D3DXMATRIX::_13, &D3DXMATRIX::_14},
      {&D3DXMATRIX::_21, &D3DXMATRIX::_22, &D3DXMATRIX::_23, &D3DXMATRIX::_24},
      {&D3DXMATRIX::_31, &D3DXMATRIX::_32, &D3DXMATRIX::_33, &D3DXMATRIX::_34},
      {&D3DXMATRIX::_41, &D3DXMATRIX::_42, &D3DXMATRIX::_43, &D3DXMATRIX::_44}};
};

static_assert(sizeof(D3DXVECTOR3) == 12 && sizeof(D3DXVECTOR4) == 16 && sizeof(D3DXMATRIX) == 64);

// A colour of four floats, 1.0 full intensity. Converts from and to 0xAARRGGBB words; each
// channel is clamped to [0, 1] and rounded on the way back.
struct D3DXCOLOR {
  float r = 0, g = 0, b = 0, a = 0;

  constexpr D3DXCOLOR() = default;
  constexpr D3DXCOLOR(float r_, float g_, float b_, float a_) : r(r_), g(g_), b(b_), a(a_) {}
  explicit constexpr D3DXCOLOR(uint32_t argb)
      : r(((argb >> 16) & 0xFF) / 255.0f),
        g(((argb >> 8) & 0xFF) / 255.0f),
        b((argb & 0xFF) / 255.0f),
        a((argb >> 24) / 255.0f) {}

  constexpr uint32_t ToArgb() const {
    return Channel(a) << 24 | Channel(r) << 16 | Channel(g) << 8 | Channel(b);
  }
  friend constexpr bool operator==(const D3DXCOLOR&, const D3DXCOLOR&) = default;

 private:
  static constexpr uint32_t Channel(float v) {
    // Written so that NaN takes the lower bound.
    const float c = v >= 1.0f ? 1.0f : (v > 0.0f ? v : 0.0f);
    return static_cast<uint32_t>(c * 255.0f + 0.5f);
  }
};
