// Where printed text goes on a page, in twips (1440 per inch) over the printer's printable area:
// the page is the printable area, the text stands half an inch inside it on every side. No Qt.
#pragma once

namespace scrivo {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kPrintMarginTwips = 720;

struct TwipsRect {
    int left;
    int top;
    int right;
    int bottom;
    bool operator==(const TwipsRect &) const = default;
};

struct PageGeometry {
    TwipsRect page;
    TwipsRect text;
    bool operator==(const PageGeometry &) const = default;
};

// From the printable area in device pixels and the device's pixels per inch (integer divisions).
// A device that reports no resolution gives an empty page.
constexpr PageGeometry PageGeometryFor(int pixelsWide, int pixelsHigh, int dpiX, int dpiY) {
    if (dpiX <= 0 || dpiY <= 0) {
        return {};
    }
    const int width = static_cast<int>(static_cast<long long>(pixelsWide) * kTwipsPerInch / dpiX);
    const int height = static_cast<int>(static_cast<long long>(pixelsHigh) * kTwipsPerInch / dpiY);
    return {{0, 0, width, height},
            {kPrintMarginTwips, kPrintMarginTwips, width - kPrintMarginTwips,
             height - kPrintMarginTwips}};
}

// A length in twips as device pixels at `dpi` pixels per inch.
constexpr int TwipsToPixels(int twips, int dpi) {
    return static_cast<int>(static_cast<long long>(twips) * dpi / kTwipsPerInch);
}

}  // namespace scrivo
