#include "bitmap/mipmaps.h"

#include <cmath>

#include "bitmap/textures.h"

namespace {

// The cover of output pixel i along one axis: input pixel indices (wrapped)
// with the share of each.
struct Span {
    std::vector<int> index;
    std::vector<double> weight;
};

Span coverOf(int i, int sizeIn, int sizeOut)
{
    const double conv = double(sizeIn) / sizeOut;
    const double centre = conv * (i + 0.5);
    const double half = sizeIn > sizeOut ? conv / 2 : 0.5;
    const double low = centre - half, high = centre + half;
    Span span;
    for (double x = low; x < high;) {
        const double cell = std::floor(x);
        const double next = std::fmin(cell + 1, high);
        span.index.push_back(((int(cell) % sizeIn) + sizeIn) % sizeIn);
        span.weight.push_back(next - x);
        x = next;
    }
    return span;
}

MipLevel rescale(const RgbImage& image, int w, int h)
{
    MipLevel out;
    out.width = w;
    out.height = h;
    out.rgb.resize(size_t(w) * size_t(h) * 3);
    std::vector<Span> columns(w);
    for (int x = 0; x < w; ++x)
        columns[x] = coverOf(x, image.width, w);
    for (int y = 0; y < h; ++y) {
        const Span rows = coverOf(y, image.height, h);
        for (int x = 0; x < w; ++x) {
            double sum[3] = {0, 0, 0}, area = 0;
            for (size_t r = 0; r < rows.index.size(); ++r) {
                const uint8_t* row = image.data + size_t(rows.index[r]) * size_t(image.width) * 3;
                for (size_t c = 0; c < columns[x].index.size(); ++c) {
                    const double share = rows.weight[r] * columns[x].weight[c];
                    const uint8_t* p = row + size_t(columns[x].index[c]) * 3;
                    for (int k = 0; k < 3; ++k)
                        sum[k] += p[k] * share;
                    area += share;
                }
            }
            uint8_t* q = &out.rgb[(size_t(y) * w + x) * 3];
            for (int k = 0; k < 3; ++k)
                q[k] = uint8_t(sum[k] / area + 0.5);
        }
    }
    return out;
}

MipLevel halve(const MipLevel& in)
{
    MipLevel out;
    out.width = in.width > 1 ? in.width / 2 : 1;
    out.height = in.height > 1 ? in.height / 2 : 1;
    out.rgb.resize(size_t(out.width) * out.height * 3);
    const int dx = in.width > 1 ? 3 : 0;
    const size_t dy = in.height > 1 ? size_t(in.width) * 3 : 0;
    const bool both = dx && dy;
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            const uint8_t* p = &in.rgb[(size_t(y) * (dy ? 2 : 1) * in.width + size_t(x) * (dx ? 2 : 1)) * 3];
            uint8_t* q = &out.rgb[(size_t(y) * out.width + x) * 3];
            for (int k = 0; k < 3; ++k) {
                if (both)
                    q[k] = uint8_t((p[k] + p[k + dx] + p[k + dy] + p[k + dx + dy] + 2) / 4);
                else
                    q[k] = uint8_t((p[k] + p[k + dx + dy]) / 2);
            }
        }
    }
    return out;
}

}  // namespace

std::vector<MipLevel> buildMipmaps(const RgbImage& image, int maxSide)
{
    const int w = nearestPowerOfTwo(image.width, maxSide);
    const int h = nearestPowerOfTwo(image.height, maxSide);
    std::vector<MipLevel> levels;
    if (w == image.width && h == image.height) {
        MipLevel base;
        base.width = w;
        base.height = h;
        base.rgb.assign(image.data, image.data + size_t(w) * size_t(h) * 3);
        levels.push_back(std::move(base));
    } else {
        levels.push_back(rescale(image, w, h));
    }
    while (levels.back().width > 1 || levels.back().height > 1)
        levels.push_back(halve(levels.back()));
    return levels;
}
