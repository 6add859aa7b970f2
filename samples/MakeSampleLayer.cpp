// Writes the sample layer: a transparent 500 x 380 image with the same icon drawn at each of the
// thirteen standard grid positions, ready to be cut out 1:1.
//
// Usage: make-sample-layer OUTPUT.png

#include <FreeImage.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace pictaro {
namespace {

constexpr int kLayerWidth = 500;
constexpr int kLayerHeight = 380;

// Grid positions in layer pixels, top-down: one column per depth, one row per size.
struct Square {
  int left;
  int top;
  int size;
};

constexpr int kColumnLeft[] = {22, 87, 152};  // 32-bit, 8-bit, 4-bit
constexpr Square kRows[] = {{0, 101, 48}, {0, 166, 32}, {0, 215, 24}, {0, 256, 16}};
constexpr Square kLargeSquare = {230, 101, 256};

// Each pixel is the mean of kSubsamples x kSubsamples point samples.
constexpr int kSubsamples = 8;

struct Point {
  double x;
  double y;
};

struct Colour {
  double r;
  double g;
  double b;
};

Colour Mix(Colour a, Colour b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

double SmoothStep(double edge0, double edge1, double x) {
  const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
  return t * t * (3.0 - 2.0 * t);
}

// Signed distance to a rounded rectangle: negative inside.
double RoundedBoxDistance(Point p, Point topLeft, Point bottomRight, double radius) {
  const double halfW = (bottomRight.x - topLeft.x) / 2.0;
  const double halfH = (bottomRight.y - topLeft.y) / 2.0;
  const double qx = std::abs(p.x - (topLeft.x + halfW)) - halfW + radius;
  const double qy = std::abs(p.y - (topLeft.y + halfH)) - halfH + radius;
  const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
  return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

bool InsideCircle(Point p, Point centre, double radius) {
  return std::hypot(p.x - centre.x, p.y - centre.y) < radius;
}

double Cross(Point a, Point b, Point p) {
  return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
}

bool InsideTriangle(Point p, Point a, Point b, Point c) {
  const double d1 = Cross(a, b, p);
  const double d2 = Cross(b, c, p);
  const double d3 = Cross(c, a, p);
  const bool anyNegative = d1 < 0 || d2 < 0 || d3 < 0;
  const bool anyPositive = d1 > 0 || d2 > 0 || d3 > 0;
  return !(anyNegative && anyPositive);
}

// The icon, in units of its square: x to the right, y down, both 0 to 1. A rounded tile holding
// a landscape picture: sky, sun, two mountains and a hill, over a soft shadow.
constexpr Point kTileTopLeft = {0.06, 0.05};
constexpr Point kTileBottomRight = {0.94, 0.89};
constexpr double kTileRadius = 0.18;

constexpr double kShadowOffset = 0.035;
constexpr double kShadowBlur = 0.05;
constexpr double kShadowOpacity = 0.45;
constexpr Colour kShadowColour = {16, 24, 48};

constexpr Colour kSkyTop = {44, 112, 220};
constexpr Colour kSkyHorizon = {160, 222, 255};
constexpr Point kSunCentre = {0.68, 0.30};
constexpr double kSunRadius = 0.13;
constexpr Colour kSunCore = {255, 236, 110};
constexpr Colour kSunEdge = {255, 150, 30};

constexpr Point kFarPeak = {0.32, 0.27};
constexpr Point kFarBaseLeft = {-0.20, 0.85};
constexpr Point kFarBaseRight = {0.84, 0.85};
constexpr Colour kFarTop = {118, 112, 210};
constexpr Colour kFarBottom = {70, 62, 150};
constexpr double kSnowLine = 0.26;  // fraction of the far mountain's height under snow
constexpr Colour kSnow = {248, 250, 255};

constexpr Point kNearPeak = {0.68, 0.46};
constexpr Point kNearBaseLeft = {0.22, 0.98};
constexpr Point kNearBaseRight = {1.14, 0.98};
constexpr Colour kNearTop = {40, 150, 96};
constexpr Colour kNearBottom = {22, 100, 70};

constexpr Point kHillCentre = {0.30, 1.50};
constexpr double kHillRadius = 0.82;
constexpr Colour kHillTop = {150, 214, 82};
constexpr Colour kHillBottom = {76, 164, 56};

constexpr Colour kRimColour = {10, 30, 80};
constexpr double kRimOpacity = 0.45;
constexpr double kGlossOpacity = 0.14;

// Colour of the picture inside the tile at p.
Colour PictureColour(Point p) {
  const double skyT = (p.y - kTileTopLeft.y) / (0.70 - kTileTopLeft.y);
  Colour c = Mix(kSkyTop, kSkyHorizon, skyT);
  if (InsideCircle(p, kSunCentre, kSunRadius)) {
    const double r = std::hypot(p.x - kSunCentre.x, p.y - kSunCentre.y) / kSunRadius;
    c = Mix(kSunCore, kSunEdge, r * r);
  }
  if (InsideTriangle(p, kFarPeak, kFarBaseLeft, kFarBaseRight)) {
    const double t = (p.y - kFarPeak.y) / (kFarBaseLeft.y - kFarPeak.y);
    // A jagged snow line: a triangle wave across the slope.
    const double wave = std::abs(std::fmod(p.x * 12.0 + 10.0, 2.0) - 1.0);
    c = t < kSnowLine + 0.08 * wave ? kSnow : Mix(kFarTop, kFarBottom, t);
  }
  if (InsideTriangle(p, kNearPeak, kNearBaseLeft, kNearBaseRight)) {
    c = Mix(kNearTop, kNearBottom, (p.y - kNearPeak.y) / (kNearBaseLeft.y - kNearPeak.y));
  }
  if (InsideCircle(p, kHillCentre, kHillRadius)) {
    const double hillTop = kHillCentre.y - kHillRadius;
    c = Mix(kHillTop, kHillBottom, (p.y - hillTop) / (kTileBottomRight.y - hillTop));
  }
  return c;
}

// Premultiplied colour and alpha of one point sample.
struct Sample {
  double r = 0;
  double g = 0;
  double b = 0;
  double a = 0;
};

// rimWidth: the tile's darker edge, in icon units, so that it stays about a pixel wide when small.
Sample SampleIcon(Point p, double rimWidth) {
  const double tileDistance = RoundedBoxDistance(p, kTileTopLeft, kTileBottomRight, kTileRadius);
  if (tileDistance < 0) {
    Colour c = PictureColour(p);
    if (tileDistance > -rimWidth) c = Mix(c, kRimColour, kRimOpacity);
    // A faint highlight over the upper part of the tile, fading out towards its edge.
    const double gx = (p.x - 0.5) / 0.75;
    const double gy = (p.y - 0.02) / 0.40;
    const double gloss = 1.0 - SmoothStep(0.6, 1.0, std::hypot(gx, gy));
    c = Mix(c, {255, 255, 255}, kGlossOpacity * gloss);
    return {c.r, c.g, c.b, 1.0};
  }
  const Point shadowTopLeft = {kTileTopLeft.x, kTileTopLeft.y + kShadowOffset};
  const Point shadowBottomRight = {kTileBottomRight.x, kTileBottomRight.y + kShadowOffset};
  const double shadowDistance =
      RoundedBoxDistance(p, shadowTopLeft, shadowBottomRight, kTileRadius);
  const double a = kShadowOpacity * (1.0 - SmoothStep(-kShadowBlur, kShadowBlur, shadowDistance));
  return {kShadowColour.r * a, kShadowColour.g * a, kShadowColour.b * a, a};
}

BYTE ToByte(double v) {
  return static_cast<BYTE>(std::clamp(std::lround(v), 0L, 255L));
}

// Draws the icon into the square; writes only pixels inside it.
void DrawIcon(FIBITMAP* layer, Square square) {
  const double rimWidth = std::max(0.012, 0.9 / square.size);
  const double step = 1.0 / (square.size * kSubsamples);
  for (int y = 0; y < square.size; ++y) {
    // FreeImage stores the bottom row first.
    BYTE* row = FreeImage_GetScanLine(layer, kLayerHeight - 1 - (square.top + y));
    for (int x = 0; x < square.size; ++x) {
      Sample sum;
      for (int sy = 0; sy < kSubsamples; ++sy) {
        for (int sx = 0; sx < kSubsamples; ++sx) {
          const Point p = {(x * kSubsamples + sx + 0.5) * step,
                           (y * kSubsamples + sy + 0.5) * step};
          const Sample s = SampleIcon(p, rimWidth);
          sum.r += s.r;
          sum.g += s.g;
          sum.b += s.b;
          sum.a += s.a;
        }
      }
      BYTE* pixel = row + (square.left + x) * 4;
      const BYTE alpha = ToByte(sum.a * 255.0 / (kSubsamples * kSubsamples));
      // Straight alpha: undo the premultiplication; a fully transparent pixel stays black.
      pixel[FI_RGBA_RED] = alpha == 0 ? 0 : ToByte(sum.r / sum.a);
      pixel[FI_RGBA_GREEN] = alpha == 0 ? 0 : ToByte(sum.g / sum.a);
      pixel[FI_RGBA_BLUE] = alpha == 0 ? 0 : ToByte(sum.b / sum.a);
      pixel[FI_RGBA_ALPHA] = alpha;
    }
  }
}

int Run(const char* outputPath) {
  FIBITMAP* layer = FreeImage_Allocate(kLayerWidth, kLayerHeight, 32, FI_RGBA_RED_MASK,
                                       FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK);
  if (layer == nullptr) {
    std::fprintf(stderr, "make-sample-layer: cannot allocate the layer\n");
    return 1;
  }
  for (int y = 0; y < kLayerHeight; ++y) {
    std::fill_n(FreeImage_GetScanLine(layer, y), kLayerWidth * 4, BYTE{0});
  }
  for (int left : kColumnLeft) {
    for (Square row : kRows) DrawIcon(layer, {left, row.top, row.size});
  }
  DrawIcon(layer, kLargeSquare);
  const bool saved = FreeImage_Save(FIF_PNG, layer, outputPath, PNG_DEFAULT) != 0;
  FreeImage_Unload(layer);
  if (!saved) {
    std::fprintf(stderr, "make-sample-layer: cannot write %s\n", outputPath);
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace pictaro

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-sample-layer OUTPUT.png\n");
    return 2;
  }
  FreeImage_Initialise(FALSE);
  const int result = pictaro::Run(argv[1]);
  FreeImage_DeInitialise();
  return result;
}
