// The host's filter record and handle suite, declared with the published field
// order and fixed-width types so that the module is binary-compatible with real
// hosts. The record is packed to 4 bytes on 32-bit and 64-bit alike.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/Rect.h"

namespace pictaro {

using int64 = std::int64_t;
using Boolean = std::uint8_t;
using Fixed = std::int32_t;  // 16.16
using OSType = std::uint32_t;
using OSErr = std::int16_t;
using Handle = char**;
using Ptr = char*;

// Host selectors and result codes.
inline constexpr int16 kSelectorAbout = 0;
inline constexpr int16 kSelectorParameters = 1;
inline constexpr int16 kSelectorPrepare = 2;
inline constexpr int16 kSelectorStart = 3;
inline constexpr int16 kSelectorContinue = 4;
inline constexpr int16 kSelectorFinish = 5;

inline constexpr int16 kNoErr = 0;
inline constexpr int16 kUserCanceledErr = -128;
inline constexpr int16 kNilHandleErr = -109;
inline constexpr int16 kParamErr = -50;

inline constexpr int16 kImageModeRGB = 3;
inline constexpr Fixed kFixedOne = 0x10000;

#pragma pack(push, 4)

struct Point {
  int16 v;
  int16 h;
};

struct RGBColor {
  std::uint16_t red;
  std::uint16_t green;
  std::uint16_t blue;
};

using FilterColor = std::uint8_t[4];
using Str255 = unsigned char[256];

struct PlugInMonitor {
  Fixed gamma;
  Fixed redX;
  Fixed redY;
  Fixed greenX;
  Fixed greenY;
  Fixed blueX;
  Fixed blueY;
  Fixed whiteX;
  Fixed whiteY;
  Fixed ambient;
};

#pragma pack(pop)

using AdvanceStateProc = int16 (*)();
using NewHandleProc = Handle (*)(int32 size);
using DisposeHandleProc = void (*)(Handle);
using GetHandleSizeProc = int32 (*)(Handle);
using SetHandleSizeProc = OSErr (*)(Handle, int32);
using LockHandleProc = Ptr (*)(Handle, Boolean moveHigh);
using UnlockHandleProc = void (*)(Handle);
using RecoverSpaceProc = void (*)(int32);
using DisposeRegularHandleProc = void (*)(Handle);
using GenericProc = void (*)();

// Normal alignment, unlike the record.
struct HandleProcs {
  int16 handleProcsVersion;
  int16 numHandleProcs;
  NewHandleProc newProc;
  DisposeHandleProc disposeProc;
  GetHandleSizeProc getSizeProc;
  SetHandleSizeProc setSizeProc;
  LockHandleProc lockProc;
  UnlockHandleProc unlockProc;
  RecoverSpaceProc recoverSpaceProc;
  DisposeRegularHandleProc disposeRegularHandleProc;
};

#pragma pack(push, 4)

struct FilterRecord {
  int32 serialNumber;
  GenericProc abortProc;
  GenericProc progressProc;
  Handle parameters;
  Point imageSize;
  int16 planes;
  Rect filterRect;
  RGBColor background;
  RGBColor foreground;
  int32 maxSpace;
  int32 bufferSpace;
  Rect inRect;
  int16 inLoPlane;
  int16 inHiPlane;
  Rect outRect;
  int16 outLoPlane;
  int16 outHiPlane;
  void* inData;
  int32 inRowBytes;
  void* outData;
  int32 outRowBytes;
  Boolean isFloating;
  Boolean haveMask;
  Boolean autoMask;
  Rect maskRect;
  void* maskData;
  int32 maskRowBytes;
  FilterColor backColor;
  FilterColor foreColor;
  OSType hostSig;
  GenericProc hostProc;
  int16 imageMode;
  Fixed imageHRes;
  Fixed imageVRes;
  Point floatCoord;
  Point wholeSize;
  PlugInMonitor monitor;
  void* platformData;
  void* bufferProcs;
  void* resourceProcs;
  GenericProc processEvent;
  GenericProc displayPixels;
  HandleProcs* handleProcs;
  Boolean supportsDummyChannels;
  Boolean supportsAlternateLayouts;
  int16 wantLayout;
  int16 filterCase;
  int16 dummyPlaneValue;
  void* premiereHook;
  AdvanceStateProc advanceState;
  Boolean supportsAbsolute;
  Boolean wantsAbsolute;
  GenericProc getPropertyObsolete;
  Boolean cannotUndo;
  Boolean supportsPadding;
  int16 inputPadding;
  int16 outputPadding;
  int16 maskPadding;
  char samplingSupport;
  char reservedByte;
  Fixed inputRate;
  Fixed maskRate;
  GenericProc colorServices;
  int16 inLayerPlanes;
  int16 inTransparencyMask;
  int16 inLayerMasks;
  int16 inInvertedLayerMasks;
  int16 inNonLayerPlanes;
  int16 outLayerPlanes;
  int16 outTransparencyMask;
  int16 outLayerMasks;
  int16 outInvertedLayerMasks;
  int16 outNonLayerPlanes;
  int16 absLayerPlanes;
  int16 absTransparencyMask;
  int16 absLayerMasks;
  int16 absInvertedLayerMasks;
  int16 absNonLayerPlanes;
  int16 inPreDummyPlanes;
  int16 inPostDummyPlanes;
  int16 outPreDummyPlanes;
  int16 outPostDummyPlanes;
  int32 inColumnBytes;
  int32 inPlaneBytes;
  int32 outColumnBytes;
  int32 outPlaneBytes;
  void* imageServicesProcs;
  void* propertyProcs;
  int16 inTileHeight;
  int16 inTileWidth;
  Point inTileOrigin;
  int16 absTileHeight;
  int16 absTileWidth;
  Point absTileOrigin;
  int16 outTileHeight;
  int16 outTileWidth;
  Point outTileOrigin;
  int16 maskTileHeight;
  int16 maskTileWidth;
  Point maskTileOrigin;
  void* descriptorParameters;
  Str255* errorString;
  void* channelPortProcs;
  void* documentInfo;
  void* sSPBasic;
  void* plugInRef;
  int32 depth;
  Handle iCCprofileData;
  int32 iCCprofileSize;
  int32 canUseICCProfiles;
  int32 hasImageScrap;
  void* bigDocumentData;
  void* input3DScene;
  void* output3DScene;
  Boolean createNewLayer;
  Handle iCCWorkingProfileData;
  int32 iCCWorkingProfileSize;
  int64 bufferSpace64;
  int64 maxSpace64;
  char reserved[46];
};

// What the record's platformData points at: the host's window (on Linux an X11 window id).
struct PlatformData {
  intptr_t hwnd;
};

// What the host passes in place of the filter record on the About selector.
struct AboutRecord {
  void* platformData;
  void* sSPBasic;
  void* plugInRef;
  char reserved[244];
};

#pragma pack(pop)

static_assert(sizeof(Point) == 4 && sizeof(Rect) == 8 && sizeof(RGBColor) == 6);
static_assert(sizeof(PlugInMonitor) == 40);

#if UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
static_assert(sizeof(FilterRecord) == 608);
static_assert(sizeof(HandleProcs) == 72);
static_assert(offsetof(HandleProcs, newProc) == 8);
static_assert(offsetof(HandleProcs, lockProc) == 40);
static_assert(offsetof(HandleProcs, unlockProc) == 48);
// Every field the plug-in reads or writes, at its published 64-bit offset.
static_assert(offsetof(FilterRecord, abortProc) == 4);
static_assert(offsetof(FilterRecord, progressProc) == 12);
static_assert(offsetof(FilterRecord, parameters) == 20);
static_assert(offsetof(FilterRecord, planes) == 32);
static_assert(offsetof(FilterRecord, filterRect) == 34);
static_assert(offsetof(FilterRecord, inRect) == 64);
static_assert(offsetof(FilterRecord, inLoPlane) == 72);
static_assert(offsetof(FilterRecord, inHiPlane) == 74);
static_assert(offsetof(FilterRecord, outRect) == 76);
static_assert(offsetof(FilterRecord, outLoPlane) == 84);
static_assert(offsetof(FilterRecord, outHiPlane) == 86);
static_assert(offsetof(FilterRecord, inData) == 88);
static_assert(offsetof(FilterRecord, inRowBytes) == 96);
static_assert(offsetof(FilterRecord, outData) == 100);
static_assert(offsetof(FilterRecord, outRowBytes) == 108);
static_assert(offsetof(FilterRecord, isFloating) == 112);
static_assert(offsetof(FilterRecord, haveMask) == 113);
static_assert(offsetof(FilterRecord, maskRect) == 116);
static_assert(offsetof(FilterRecord, hostSig) == 144);
static_assert(offsetof(FilterRecord, imageMode) == 156);
static_assert(offsetof(FilterRecord, monitor) == 176);
static_assert(offsetof(FilterRecord, platformData) == 216);
static_assert(offsetof(FilterRecord, handleProcs) == 256);
static_assert(offsetof(FilterRecord, advanceState) == 280);
static_assert(offsetof(FilterRecord, wantsAbsolute) == 289);
static_assert(offsetof(FilterRecord, inputPadding) == 302);
static_assert(offsetof(FilterRecord, outputPadding) == 304);
static_assert(offsetof(FilterRecord, maskPadding) == 306);
static_assert(offsetof(FilterRecord, inputRate) == 312);
static_assert(offsetof(FilterRecord, maskRate) == 316);
static_assert(offsetof(FilterRecord, inLayerPlanes) == 328);
static_assert(offsetof(FilterRecord, inTransparencyMask) == 330);
static_assert(offsetof(FilterRecord, outLayerPlanes) == 338);
static_assert(offsetof(FilterRecord, outTransparencyMask) == 340);
static_assert(offsetof(FilterRecord, outLayerMasks) == 342);
static_assert(offsetof(FilterRecord, outInvertedLayerMasks) == 344);
static_assert(offsetof(FilterRecord, outNonLayerPlanes) == 346);
static_assert(offsetof(FilterRecord, absLayerPlanes) == 348);
static_assert(offsetof(FilterRecord, absTransparencyMask) == 350);
static_assert(offsetof(FilterRecord, absLayerMasks) == 352);
static_assert(offsetof(FilterRecord, absInvertedLayerMasks) == 354);
static_assert(offsetof(FilterRecord, absNonLayerPlanes) == 356);
static_assert(offsetof(FilterRecord, inColumnBytes) == 368);
static_assert(offsetof(FilterRecord, outColumnBytes) == 376);
static_assert(offsetof(FilterRecord, depth) == 480);
static_assert(offsetof(FilterRecord, bufferSpace64) == 544);
static_assert(offsetof(FilterRecord, reserved) == 560);
#else
static_assert(sizeof(FilterRecord) == 488);
static_assert(sizeof(HandleProcs) == 36);
#endif

}  // namespace pictaro
