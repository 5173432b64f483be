// Function numbers and constants of the metafile records that page files use (metafile.h).
#pragma once

#include <cstddef>
#include <cstdint>

namespace carelog::report::wmf {

inline constexpr uint16_t kEndOfFile = 0x0000;
inline constexpr uint16_t kSaveDc = 0x001E;
inline constexpr uint16_t kSetBkColor = 0x0201;
inline constexpr uint16_t kSetBkMode = 0x0102;
inline constexpr uint16_t kSetMapMode = 0x0103;
inline constexpr uint16_t kRestoreDc = 0x0127;
inline constexpr uint16_t kSelectObject = 0x012D;
inline constexpr uint16_t kSetTextAlign = 0x012E;
inline constexpr uint16_t kDeleteObject = 0x01F0;
inline constexpr uint16_t kSetTextColor = 0x0209;
inline constexpr uint16_t kSetWindowOrg = 0x020B;
inline constexpr uint16_t kSetWindowExt = 0x020C;
inline constexpr uint16_t kLineTo = 0x0213;
inline constexpr uint16_t kMoveTo = 0x0214;
inline constexpr uint16_t kCreatePenIndirect = 0x02FA;
inline constexpr uint16_t kCreateFontIndirect = 0x02FB;
inline constexpr uint16_t kCreateBrushIndirect = 0x02FC;
inline constexpr uint16_t kPolygon = 0x0324;
inline constexpr uint16_t kPolyline = 0x0325;
inline constexpr uint16_t kEllipse = 0x0418;
inline constexpr uint16_t kRectangle = 0x041B;
inline constexpr uint16_t kTextOut = 0x0521;
inline constexpr uint16_t kExtTextOut = 0x0A32;
inline constexpr uint16_t kDibStretchBlt = 0x0B41;
inline constexpr uint16_t kStretchDib = 0x0F43;

inline constexpr uint16_t kPsSolid = 0, kPsDash = 1, kPsDot = 2, kPsNull = 5;
inline constexpr uint16_t kBsSolid = 0, kBsNull = 1;
inline constexpr uint16_t kTransparent = 1, kOpaque = 2;
inline constexpr uint16_t kMapAnisotropic = 8;
inline constexpr uint32_t kSrcCopy = 0x00CC0020;
inline constexpr uint16_t kEtoOpaque = 0x0002, kEtoClipped = 0x0004;
inline constexpr size_t kFaceNameBytes = 32;

}  // namespace carelog::report::wmf
