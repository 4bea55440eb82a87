// Procedural art for the seven shipped textures. Each texture is painted on a
// canvas of colour, height, shininess and emitted light; a final pass lights the
// height field from the upper left (with soft cast shadows) and adds the glow.
// All randomness comes from an integer hash, and every shape and noise lattice
// wraps around the edges, so the textures tile and come out byte-identical.
#include "texture_art.h"

#include <algorithm>
#include <cmath>

namespace {

const int N = kTextureArtSize;
const double kPi = 3.14159265358979323846;

struct Rgb {
    double r, g, b;
};
Rgb operator*(Rgb c, double k) { return {c.r * k, c.g * k, c.b * k}; }
Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Rgb mix(Rgb a, Rgb b, double t) { return a * (1 - t) + b * t; }

const Rgb kBlack{0, 0, 0}, kWhite{1, 1, 1};
const Rgb kSteel{0.56, 0.57, 0.59}, kDarkSteel{0.2, 0.2, 0.21};

// One canvas pixel: surface colour, height in pixels, specular strength, emitted light.
struct Px {
    Rgb albedo;
    double height, shine;
    Rgb glow;
};
std::vector<Px> g_canvas(size_t(N) * N);

static_assert((N & (N - 1)) == 0, "wrapping by a mask needs a power-of-two size");
int wrap(int v) { return v & (N - 1); }  // v mod N, also for negative v
Px& at(int x, int y) { return g_canvas[size_t(wrap(y)) * N + size_t(wrap(x))]; }
double clamp01(double v) { return v < 0 ? 0 : v > 1 ? 1 : v; }
double smooth(double e0, double e1, double v)
{
    double t = clamp01((v - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

// ---- noise ----

uint32_t hash(int x, int y, uint32_t seed)
{
    uint32_t h = seed * 0x9E3779B9u ^ uint32_t(x) * 0x85EBCA6Bu ^ uint32_t(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}
double rnd(int x, int y, uint32_t seed) { return hash(x, y, seed) * (1.0 / 4294967296.0); }

// Smoothly interpolated lattice noise in 0..1, repeating every px by py lattice cells.
double valueNoise(double u, double v, int px, int py, uint32_t seed)
{
    int x0 = int(std::floor(u)), y0 = int(std::floor(v));
    double fx = u - x0, fy = v - y0;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    // The four lattice corners, wrapped once (integer division is dear here).
    const int xa = ((x0 % px) + px) % px, ya = ((y0 % py) + py) % py;
    const int xb = xa + 1 == px ? 0 : xa + 1, yb = ya + 1 == py ? 0 : ya + 1;
    const double aa = rnd(xa, ya, seed), ba = rnd(xb, ya, seed), ab = rnd(xa, yb, seed), bb = rnd(xb, yb, seed);
    double top = aa + (ba - aa) * fx;
    double bottom = ab + (bb - ab) * fx;
    return top + (bottom - top) * fy;
}

// Fractal noise in 0..1 over the texture, cx by cy lattice cells at the coarsest octave.
double fbmAt(double x, double y, int cx, int cy, int octaves, uint32_t seed)
{
    double sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; ++o, amp *= 0.5, cx *= 2, cy *= 2) {
        sum += amp * valueNoise(x * cx / N, y * cy / N, cx, cy, seed + 977u * uint32_t(o));
        norm += amp;
    }
    return sum / norm;
}

// fbmAt over every pixel centre at once: a texture asks for the same noise at
// each of its pixels, and each octave's lattice values and per-column and
// per-row weights are worth working out once. The arithmetic per pixel is
// fbmAt's, in the same order, so every value is the same to the last bit.
std::vector<double> fbmField(int cx, int cy, int octaves, uint32_t seed)
{
    std::vector<double> sum(size_t(N) * N, 0.0);
    struct Axis {
        int a, b;  // the lattice lines on either side
        double t;  // smoothed position between them
    };
    auto axis = [](int cells) {
        std::vector<Axis> out(N);
        for (int i = 0; i < N; ++i) {
            double u = (i + 0.5) * cells / N;
            int u0 = int(std::floor(u));
            double f = u - u0;
            int a = ((u0 % cells) + cells) % cells;
            out[size_t(i)] = {a, a + 1 == cells ? 0 : a + 1, f * f * (3 - 2 * f)};
        }
        return out;
    };
    double amp = 1, norm = 0;
    std::vector<double> lattice;
    for (int o = 0; o < octaves; ++o, amp *= 0.5, cx *= 2, cy *= 2) {
        const uint32_t s = seed + 977u * uint32_t(o);
        lattice.resize(size_t(cx) * size_t(cy));
        for (int ly = 0; ly < cy; ++ly)
            for (int lx = 0; lx < cx; ++lx)
                lattice[size_t(ly) * size_t(cx) + size_t(lx)] = rnd(lx, ly, s);
        const std::vector<Axis> xs = axis(cx), ys = axis(cy);
        for (int y = 0; y < N; ++y) {
            const Axis& ay = ys[size_t(y)];
            const double* rowA = &lattice[size_t(ay.a) * size_t(cx)];
            const double* rowB = &lattice[size_t(ay.b) * size_t(cx)];
            double* out = &sum[size_t(y) * N];
            for (int x = 0; x < N; ++x) {
                const Axis& ax = xs[size_t(x)];
                const double aa = rowA[ax.a], ba = rowA[ax.b], ab = rowB[ax.a], bb = rowB[ax.b];
                double top = aa + (ba - aa) * ax.t;
                double bottom = ab + (bb - ab) * ax.t;
                out[x] += amp * (top + (bottom - top) * ay.t);
            }
        }
        norm += amp;
    }
    for (double& v : sum)
        v /= norm;
    return sum;
}

// The noise fields of the texture being drawn, made on first use.
struct NoiseKey {
    int cx, cy, octaves;
    uint32_t seed;
    bool operator==(const NoiseKey& k) const
    {
        return cx == k.cx && cy == k.cy && octaves == k.octaves && seed == k.seed;
    }
};
std::vector<std::pair<NoiseKey, std::vector<double>>> g_fields;

// Fractal noise at (x, y): from the field when (x, y) is a pixel centre, as
// every drawing asks, else worked out on the spot.
double fbm(double x, double y, int cx, int cy, int octaves, uint32_t seed)
{
    const int ix = int(x), iy = int(y);
    if (ix < 0 || iy < 0 || ix >= N || iy >= N || x != ix + 0.5 || y != iy + 0.5)
        return fbmAt(x, y, cx, cy, octaves, seed);
    const NoiseKey key{cx, cy, octaves, seed};
    auto field = std::find_if(g_fields.begin(), g_fields.end(), [&](const auto& f) { return f.first == key; });
    if (field == g_fields.end())
        field = g_fields.insert(g_fields.end(), {key, fbmField(cx, cy, octaves, seed)});
    return field->second[size_t(iy) * N + size_t(ix)];
}

// ---- drawing ----

// Calls f(pixel, x, y) with the pixel centre for every pixel of the box; positions
// wrap, so a shape crossing an edge continues on the opposite side.
template <class F>
void area(double x0, double y0, double x1, double y1, F f)
{
    int ax = int(std::floor(x0)), bx = int(std::ceil(x1)), ay = int(std::floor(y0)), by = int(std::ceil(y1));
    if (bx - ax >= N)  // spans the texture: every column once
        ax = 0, bx = N - 1;
    if (by - ay >= N)
        ay = 0, by = N - 1;
    for (int y = ay; y <= by; ++y)
        for (int x = ax; x <= bx; ++x)
            f(at(x, y), x + 0.5, y + 0.5);
}

void fill(Rgb col, double shine)
{
    for (Px& p : g_canvas)
        p = {col, 0, shine, kBlack};
}

void paint(Px& p, Rgb col, double height, double shine, double cover)
{
    p.albedo = mix(p.albedo, col, cover);
    p.height += (height - p.height) * cover;
    p.shine += (shine - p.shine) * cover;
}

// Darkens and lightens the colour by fractal noise: stains, grain, brushing.
void grain(double amount, int cx, int cy, int octaves, uint32_t seed)
{
    area(0, 0, N - 1, N - 1, [&](Px& p, double x, double y) {
        p.albedo = p.albedo * (1 + amount * (2 * fbm(x, y, cx, cy, octaves, seed) - 1));
    });
}

void bumps(double amount, int cx, int cy, int octaves, uint32_t seed)
{
    area(0, 0, N - 1, N - 1, [&](Px& p, double x, double y) { p.height += amount * fbm(x, y, cx, cy, octaves, seed); });
}

// Raises (or with a negative rise sinks) a box, its sides sloping over `bevel` pixels.
void raise(double x0, double y0, double x1, double y1, double rise, double bevel)
{
    area(x0, y0, x1 - 1, y1 - 1, [&](Px& p, double x, double y) {
        double d = std::min(std::min(x - x0, x1 - x), std::min(y - y0, y1 - y));
        p.height += rise * smooth(0, bevel, d);
    });
}

void paintBox(double x0, double y0, double x1, double y1, Rgb col, double shine)
{
    area(x0, y0, x1 - 1, y1 - 1, [&](Px& p, double, double) { p.albedo = col, p.shine = shine; });
}

// A stroke of radius r around the points at distance 0 of `dist`, painted over what
// lies below: its top sits at z plus a rounded profile `dome` high.
template <class D>
void stroke(double x0, double y0, double x1, double y1, double r, Rgb col, double z, double dome, double shine, D dist)
{
    area(x0 - r - 1, y0 - r - 1, x1 + r + 1, y1 + r + 1, [&](Px& p, double x, double y) {
        double d = dist(x, y), cover = clamp01(r - d + 0.5);
        if (cover > 0) {
            double q = std::min(d / r, 1.0);
            paint(p, col, z + dome * std::sqrt(1 - q * q), shine, cover);
        }
    });
}

// A rod from a to b (a disc when they coincide): pipes, wires, bars, rivets.
void rod(double ax, double ay, double bx, double by, double r, Rgb col, double z, double dome, double shine)
{
    double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
    stroke(std::min(ax, bx), std::min(ay, by), std::max(ax, bx), std::max(ay, by), r, col, z, dome, shine,
           [&](double x, double y) {
               double t = len2 > 0 ? clamp01(((x - ax) * dx + (y - ay) * dy) / len2) : 0;
               return std::hypot(x - ax - t * dx, y - ay - t * dy);
           });
}

void disc(double cx, double cy, double r, Rgb col, double z, double dome, double shine)
{
    rod(cx, cy, cx, cy, r, col, z, dome, shine);
}

void ring(double cx, double cy, double radius, double r, Rgb col, double z, double shine)
{
    stroke(cx - radius, cy - radius, cx + radius, cy + radius, r, col, z, r, shine,
           [&](double x, double y) { return std::fabs(std::hypot(x - cx, y - cy) - radius); });
}

void rivet(double cx, double cy, double r, Rgb col)
{
    disc(cx, cy, r, col, at(int(cx), int(cy)).height, r * 0.8, 0.7);
}

// A cable hanging from a to b, sagging by `sag` pixels in the middle.
void cable(double ax, double ay, double bx, double by, double sag, double r, Rgb col, double z)
{
    const int kParts = 24;
    for (int i = 0; i < kParts; ++i) {
        double t0 = double(i) / kParts, t1 = double(i + 1) / kParts;
        rod(ax + (bx - ax) * t0, ay + (by - ay) * t0 + 4 * sag * t0 * (1 - t0), ax + (bx - ax) * t1,
            ay + (by - ay) * t1 + 4 * sag * t1 * (1 - t1), r, col, z, r, 0.3);
    }
}

void glow(double cx, double cy, double r, Rgb col, double strength)
{
    area(cx - 4 * r, cy - 4 * r, cx + 4 * r, cy + 4 * r, [&](Px& p, double x, double y) {
        double d2 = ((x - cx) * (x - cx) + (y - cy) * (y - cy)) / (r * r);
        p.glow = p.glow + col * (strength * std::exp(-d2));
    });
}

// A round bulkhead lamp: dark housing, bright lens behind a cross-shaped cage, halo.
void lamp(double cx, double cy, double r, Rgb light)
{
    disc(cx, cy, r + 5, kDarkSteel, 2, 3, 0.5);
    disc(cx, cy, r, mix(light, kWhite, 0.55), 5, r * 0.5, 1);
    glow(cx, cy, r * 0.7, light, 0.7);
    glow(cx, cy, r * 2.6, light, 0.3);
    double top = 5 + r * 0.5;
    rod(cx - r - 3, cy, cx + r + 3, cy, 1.4, kDarkSteel, top, 1.4, 0.5);
    rod(cx, cy - r - 3, cx, cy + r + 3, 1.4, kDarkSteel, top, 1.4, 0.5);
}

// A pipe across the whole texture with a flange every `joint` pixels: a short
// wider band of the same round profile.
void pipeAcross(double y, double r, Rgb col, int joint, double z)
{
    rod(-r, y, N + r, y, r, col, z, r, 0.6);
    for (int x = joint / 2; x < N; x += joint)
        stroke(x, y, x, y, r + 3, col * 0.85, z, r + 3, 0.6,
               [&](double px, double py) { return std::fabs(px - x) < 4 ? std::fabs(py - y) : 1e9; });
}

void pipeDown(double x, double r, Rgb col, int joint, double z)
{
    rod(x, -r, x, N + r, r, col, z, r, 0.6);
    for (int y = joint / 2; y < N; y += joint)
        stroke(x, y, x, y, r + 3, col * 0.8, z, r + 3, 0.5,
               [&](double px, double py) { return std::fabs(py - y) < 5 ? std::fabs(px - x) : 1e9; });
}

// Lights the height field from the upper left, casts soft shadows, adds highlights
// and glow, and tints the result gently toward the wall's colour.
std::vector<uint8_t> shade(Rgb tint)
{
    const double lx = -0.5, ly = -0.7, lz = 1.0, ll = std::sqrt(lx * lx + ly * ly + lz * lz);
    const double stepX = lx / std::hypot(lx, ly), stepY = ly / std::hypot(lx, ly), rise = lz / std::hypot(lx, ly);
    const double hx = lx / ll, hy = ly / ll, hz = lz / ll + 1, hl = std::sqrt(hx * hx + hy * hy + hz * hz);
    // Where the shadow walk's s-th step from each column and row lands, worked
    // out once instead of at every pixel.
    const int kSteps = 24;
    std::vector<int> walkX(size_t(kSteps + 1) * N), walkY(size_t(kSteps + 1) * N);
    for (int s = 1; s <= kSteps; ++s)
        for (int i = 0; i < N; ++i) {
            walkX[size_t(s) * N + size_t(i)] = wrap(int(std::lround(i + s * stepX)));
            walkY[size_t(s) * N + size_t(i)] = wrap(int(std::lround(i + s * stepY)));
        }
    std::vector<uint8_t> out;
    out.reserve(size_t(N) * N * 3);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const Px& p = at(x, y);
            double nx = (at(x - 1, y).height - at(x + 1, y).height) * 0.5;
            double ny = (at(x, y - 1).height - at(x, y + 1).height) * 0.5;
            double nl = std::sqrt(nx * nx + ny * ny + 1);
            double diffuse = std::max(0.0, (nx * lx + ny * ly + lz) / (nl * ll));
            double specular = std::pow(std::max(0.0, (nx * hx + ny * hy + hz) / (nl * hl)), 24) * p.shine;
            double occluded = 0;
            for (int s = 1; s <= kSteps; ++s) {
                double above = g_canvas[size_t(walkY[size_t(s) * N + size_t(y)]) * N +
                                        size_t(walkX[size_t(s) * N + size_t(x)])].height -
                               p.height - s * rise;
                occluded = std::max(occluded, clamp01(above / 3));
            }
            double light = 1 - 0.65 * occluded;
            Rgb c = (p.albedo * (0.3 + 0.85 * diffuse * light) + kWhite * (0.5 * specular * light)) * tint + p.glow;
            for (double v : {c.r, c.g, c.b})
                out.push_back(uint8_t(std::lround(clamp01(v) * 255)));
        }
    return out;
}

// ---- the seven textures ----

// Diamond tread plate: raised lozenges alternating in direction on brushed steel.
void metalFloor()
{
    fill(kSteel, 0.5);
    grain(0.06, 2, 64, 3, 11);
    grain(0.12, 4, 4, 5, 12);
    const int cell = 32;
    for (int j = 0; j < N / cell; ++j)
        for (int i = 0; i < N / cell; ++i) {
            double cx = (i + 0.5) * cell, cy = (j + 0.5) * cell, d = ((i + j) % 2 ? 1 : -1) * 7;
            rod(cx - 7, cy - d, cx + 7, cy + d, 3.6, kSteel * 1.12, 0, 2.6, 0.9);
        }
    grain(0.1, 8, 8, 4, 13);
}

// A red-brown wall of riveted panels, copper pipes above and below, six lamps between.
void pipesSixLights()
{
    fill({0.38, 0.29, 0.27}, 0.3);
    grain(0.15, 4, 4, 5, 21);
    for (int px = 0; px < N; px += 128)
        for (int py = 0; py < N; py += 128) {
            raise(px + 3, py + 3, px + 125, py + 125, 2.5, 3);
            for (int k = 10; k < 128; k += 27) {
                rivet(px + k, py + 9, 2.4, {0.45, 0.36, 0.33});
                rivet(px + k, py + 119, 2.4, {0.45, 0.36, 0.33});
            }
        }
    const Rgb copper{0.66, 0.33, 0.22}, red{0.55, 0.16, 0.13};
    pipeAcross(36, 15, red, 128, 4);
    pipeAcross(70, 7, copper, 64, 4);
    pipeAcross(220, 18, copper, 128, 4);
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i < 3; ++i)
            lamp(43 + 85 * i, 116 + 52 * row, 10, {1.0, 0.42, 0.24});
    grain(0.08, 16, 16, 3, 22);
}

// A green-grey concrete wall: vertical pipes with clamps, a valve wheel and a strip light.
void pipesLights()
{
    fill({0.42, 0.47, 0.41}, 0.1);
    grain(0.18, 4, 4, 6, 31);
    bumps(3, 16, 16, 4, 32);
    const Rgb green{0.27, 0.47, 0.3}, copper{0.62, 0.4, 0.26};
    pipeDown(26, 15, green, 128, 3);
    pipeDown(64, 8, copper, 128, 3);
    pipeDown(206, 11, kSteel * 0.9, 128, 3);
    pipeDown(234, 6, green * 1.2, 64, 3);
    // valve wheel on the copper pipe
    ring(64, 150, 15, 2.2, {0.25, 0.5, 0.3}, 16, 0.6);
    rod(49, 150, 79, 150, 1.8, {0.25, 0.5, 0.3}, 16, 1.8, 0.6);
    rod(64, 135, 64, 165, 1.8, {0.25, 0.5, 0.3}, 16, 1.8, 0.6);
    disc(64, 150, 4, kDarkSteel, 17, 3, 0.8);
    // strip light: housing, two tubes, end caps
    const Rgb light{0.55, 1.0, 0.6};
    paintBox(106, 26, 166, 230, kSteel * 0.75, 0.5);
    raise(106, 26, 166, 230, 5, 3);
    paintBox(112, 34, 160, 222, {0.75, 0.8, 0.75}, 0.2);
    for (double x : {124.0, 148.0}) {
        rod(x, 40, x, 216, 6, mix(light, kWhite, 0.6), 8, 5, 1);
        glow(x, 60, 8, light, 0.15);
        for (int y = 44; y <= 212; y += 8)
            glow(x, y, 9, light, 0.12);
    }
    for (double y : {34.0, 218.0})
        rod(116, y, 156, y, 4, kDarkSteel, 9, 3, 0.5);
    for (int y = 26; y < 230; y += 68)
        for (double x : {104.0, 168.0})
            rivet(x, y + 30, 2.5, kSteel);
}

// Corrugated blue steel: pipes along the top, cables sagging between clamps,
// a junction box and two cage lamps.
void pipesLightsWires()
{
    fill({0.3, 0.35, 0.45}, 0.5);
    area(0, 0, N - 1, N - 1, [&](Px& p, double x, double) { p.height += 1.6 * std::sin(x * 2 * kPi / 16); });
    grain(0.14, 4, 4, 5, 41);
    const Rgb steel = kSteel * 0.95;
    pipeAcross(24, 12, steel, 128, 4);
    pipeAcross(50, 6, {0.2, 0.3, 0.55}, 64, 4);
    pipeAcross(238, 9, steel, 128, 4);
    const Rgb wires[] = {{0.12, 0.12, 0.14}, {0.15, 0.25, 0.6}, {0.55, 0.2, 0.15}, {0.3, 0.3, 0.32}};
    for (int i = 0; i < 4; ++i)
        for (int x = 0; x < N; x += 128)
            cable(x, 82 + 6 * i, x + 128, 82 + 6 * i, 14 + 9 * i, 2.2 + 0.3 * (i % 2), wires[i], 6 + i);
    for (int x = 0; x < N; x += 128) {
        paintBox(x - 5, 76, x + 5, 108, kDarkSteel, 0.6);
        raise(x - 5, 76, x + 5, 108, 10, 2);
    }
    // junction box feeding the lamps
    paintBox(108, 150, 148, 196, {0.35, 0.4, 0.48}, 0.5);
    raise(108, 150, 148, 196, 6, 3);
    for (double x : {112.0, 144.0})
        for (double y : {154.0, 192.0})
            rivet(x, y, 2, kSteel);
    const Rgb light{0.55, 0.75, 1.0};
    for (double side : {-1.0, 1.0}) {
        cable(128 + side * 20, 186, 128 + side * 64, 180, 12, 2.4, wires[0], 6);
        lamp(128 + side * 70, 180, 11, light);
    }
    cable(128, 150, 128, 104, 0, 2.4, wires[1], 6);
}

// Rounded stones of varied size and shade, bedded in mortar (jittered Voronoi cells).
void stoneWall()
{
    const int cols = 4, rows = 6;
    const double cw = double(N) / cols, ch = double(N) / rows;
    auto site = [&](int i, int j, double& sx, double& sy) {
        int wi = ((i % cols) + cols) % cols, wj = ((j % rows) + rows) % rows;
        sx = (i + 0.5 + 0.7 * (rnd(wi, wj, 51) - 0.5)) * cw;
        sy = (j + 0.5 + 0.6 * (rnd(wi, wj, 52) - 0.5)) * ch;
        return uint32_t(wj * cols + wi);
    };
    // Every site a pixel's neighbourhood can reach (cells -2 .. cols+1 and
    // -2 .. rows+1), and the distance between each two of them, once.
    const int reachX = cols + 4, reachY = rows + 4, sites = reachX * reachY;
    struct Site {
        double x, y;
        uint32_t id;
    };
    std::vector<Site> near(static_cast<size_t>(sites));
    for (int j = -2; j < rows + 2; ++j)
        for (int i = -2; i < cols + 2; ++i) {
            Site& t = near[size_t((j + 2) * reachX + i + 2)];
            t.id = site(i, j, t.x, t.y);
        }
    std::vector<double> apart(size_t(sites) * size_t(sites));
    for (int a = 0; a < sites; ++a)
        for (int b = 0; b < sites; ++b)
            apart[size_t(a) * size_t(sites) + size_t(b)] =
                std::hypot(near[size_t(b)].x - near[size_t(a)].x, near[size_t(b)].y - near[size_t(a)].y);
    auto index = [&](int i, int j) { return (j + 2) * reachX + i + 2; };

    fill({0.5, 0.55, 0.55}, 0.05);
    area(0, 0, N - 1, N - 1, [&](Px& p, double x, double y) {
        int ci = int(x / cw), cj = int(y / ch), nearest = 0;
        double best = 1e30;
        for (int j = cj - 2; j <= cj + 2; ++j)
            for (int i = ci - 2; i <= ci + 2; ++i) {
                const Site& t = near[size_t(index(i, j))];
                double d = (x - t.x) * (x - t.x) + (y - t.y) * (y - t.y);
                if (d < best)
                    best = d, nearest = index(i, j);
            }
        double edge = 1e30;  // distance to the nearest bisector
        for (int j = cj - 2; j <= cj + 2; ++j)
            for (int i = ci - 2; i <= ci + 2; ++i) {
                const int other = index(i, j);
                if (other == nearest)
                    continue;
                const Site& t = near[size_t(other)];
                double db = (x - t.x) * (x - t.x) + (y - t.y) * (y - t.y);
                edge = std::min(edge, (db - best) / (2 * apart[size_t(nearest) * size_t(sites) + size_t(other)]));
            }
        uint32_t id = near[size_t(nearest)].id;
        edge += 3 * (fbm(x, y, 16, 16, 3, 53) - 0.5);
        double shade = 0.75 + 0.4 * rnd(int(id), 0, 54);
        Rgb stone = mix(Rgb{0.47, 0.55, 0.57}, Rgb{0.55, 0.56, 0.52}, rnd(int(id), 0, 55)) * shade;
        double cover = smooth(2.5, 4, edge);
        p.albedo = mix(Rgb{0.5, 0.53, 0.5} * (0.8 + 0.3 * fbm(x, y, 32, 32, 2, 56)), stone, cover);
        double t = clamp01((edge - 2.5) / 7);
        p.height = 7 * (1 - (1 - t) * (1 - t)) + 5 * fbm(x, y, 8, 8, 5, 57) + 3 * cover * rnd(int(id), 0, 59);
    });
    grain(0.2, 8, 8, 5, 58);
}

// Plum bricks in running bond streaked with rust, a rusty grate set into them.
void rustyBricksGrate()
{
    const int bw = 64, bh = 32;
    area(0, 0, N - 1, N - 1, [&](Px& p, double x, double y) {
        int row = int(y) / bh, shift = row % 2 ? bw / 2 : 0, col = ((int(x) + shift) / bw) % (N / bw);
        double bx = std::fmod(x + shift, bw), by = std::fmod(y, bh);
        double edge = std::min(std::min(bx, bw - bx), std::min(by, bh - by)) + 3 * (fbm(x, y, 32, 32, 2, 61) - 0.5);
        double tone = 0.8 + 0.35 * rnd(col, row, 62);
        Rgb brick = mix(Rgb{0.52, 0.25, 0.4}, Rgb{0.44, 0.23, 0.37}, rnd(col, row, 63)) * tone;
        double rust = smooth(0.55, 0.75, fbm(x, y, 8, 8, 5, 64));
        brick = mix(brick, Rgb{0.5, 0.28, 0.24}, 0.6 * rust);
        double cover = smooth(1.5, 3, edge);
        p = {mix(Rgb{0.46, 0.43, 0.5}, brick, cover), 4 * smooth(1.5, 5, edge), 0.05, kBlack};
    });
    grain(0.18, 8, 8, 5, 65);
    bumps(2, 32, 32, 3, 66);
    // the grate: a frame, a dark opening, bars, rust running down below it
    const double x0 = 70, y0 = 100, x1 = 186, y1 = 176;
    const Rgb rust{0.45, 0.26, 0.2};
    paintBox(x0, y0, x1, y1, rust, 0.3);
    raise(x0, y0, x1, y1, 6, 2);
    paintBox(x0 + 10, y0 + 10, x1 - 10, y1 - 10, {0.05, 0.04, 0.05}, 0);
    raise(x0 + 10, y0 + 10, x1 - 10, y1 - 10, -14, 3);
    for (double x = x0 + 18; x < x1 - 10; x += 12)
        rod(x, y0 + 8, x, y1 - 8, 3, rust * 1.1, 0, 3, 0.4);
    rod(x0 + 8, (y0 + y1) / 2, x1 - 8, (y0 + y1) / 2, 3, rust, 3, 3, 0.4);
    for (double x : {x0 + 5, x1 - 5})
        for (double y : {y0 + 5, y1 - 5})
            rivet(x, y, 2.6, rust * 1.2);
    area(x0, y1, x1, N - 1, [&](Px& p, double x, double y) {
        double streak = fbm(x, y, 32, 2, 3, 67) * (1 - (y - y1) / (N - y1)) * smooth(x0, x0 + 12, x) *
                        smooth(x1, x1 - 12, x);
        p.albedo = mix(p.albedo, Rgb{0.48, 0.25, 0.15}, clamp01(1.4 * streak - 0.2));
    });
    grain(0.1, 32, 32, 3, 68);
}

// The face of a steel box in worn yellow paint: bolted rim, a guarded fan, louvres.
void steelBoxFan()
{
    fill({0.72, 0.62, 0.3}, 0.4);
    area(0, 0, N - 1, N - 1, [&](Px& p, double x, double y) {
        double wear = smooth(0.66, 0.7, fbm(x, y, 16, 16, 5, 71));
        p.albedo = mix(p.albedo, kSteel * 0.9, wear);
    });
    grain(0.1, 4, 64, 4, 72);
    raise(8, 8, N - 8, N - 8, 5, 5);
    for (int k = 22; k < N; k += 53)
        for (double e : {15.0, N - 15.0}) {
            rivet(k, e, 3, kSteel);
            rivet(e, k, 3, kSteel);
        }
    // the fan sits in a round well
    const double cx = 128, cy = 112, R = 78;
    area(cx - R, cy - R, cx + R, cy + R, [&](Px& p, double x, double y) {
        double d = std::hypot(x - cx, y - cy);
        if (d > R + 2)
            return;
        double inside = smooth(R + 1, R - 3, d);
        p.height -= 14 * inside;
        p.albedo = mix(p.albedo, {0.06, 0.06, 0.06}, inside);
        double a = std::atan2(y - cy, x - cx) + 0.012 * d;
        double f = a * 5 / (2 * kPi) - std::floor(a * 5 / (2 * kPi));
        double blade = smooth(0, 0.04, f) * smooth(0.5, 0.46, f) * smooth(R - 6, R - 9, d) * smooth(18, 21, d);
        if (blade > 0)
            paint(p, kSteel * 0.8, -12 + 5 * f, 0.8, blade);
    });
    disc(cx, cy, 19, kDarkSteel, -10, 6, 0.7);
    disc(cx, cy, 5, kSteel, -4, 2, 0.9);
    for (double r : {30.0, 50.0, 70.0, R - 1})
        ring(cx, cy, r, 1.8, kSteel * 0.7, 0, 0.6);
    for (int k = 0; k < 4; ++k) {
        double a = kPi / 4 + k * kPi / 2;
        rod(cx + 10 * std::cos(a), cy + 10 * std::sin(a), cx + R * std::cos(a), cy + R * std::sin(a), 2, kSteel * 0.7,
            0, 2, 0.6);
    }
    // louvres below the fan
    for (int i = 0; i < 4; ++i) {
        double y = 204 + 9 * i;
        paintBox(60, y, 196, y + 5, {0.08, 0.07, 0.05}, 0);
        raise(60, y, 196, y + 5, -5, 1.5);
    }
}

struct Art {
    void (*draw)();
    Rgb tint;
};

const Art kArt[] = {
    {metalFloor, {1, 1, 1}},
    {pipesSixLights, {1.06, 0.97, 0.96}},
    {pipesLights, {0.97, 1.05, 0.97}},
    {pipesLightsWires, {0.96, 0.98, 1.07}},
    {stoneWall, {0.95, 1.03, 1.05}},
    {rustyBricksGrate, {1.03, 0.95, 1.05}},
    {steelBoxFan, {1.04, 1.02, 0.93}},
};

}  // namespace

std::vector<uint8_t> drawTextureArt(int slot)
{
    if (slot < 0 || slot >= int(sizeof kArt / sizeof kArt[0]))
        return {};
    g_fields.clear();
    kArt[slot].draw();
    g_fields.clear();
    return shade(kArt[slot].tint);
}
