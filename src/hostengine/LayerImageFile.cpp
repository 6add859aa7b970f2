// Layer images on disk, read and written with FreeImage.
#include <FreeImage.h>
#ifndef _WIN32
#include <dlfcn.h>
#endif

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "hostengine/HostEngine.h"
#include "platform/FileProblem.h"
#include "platform/ReplacingFile.h"
#include "platform/Utf8Path.h"

namespace pictaro {

namespace {

namespace fs = std::filesystem;

// FreeImage counts its start-ups, so this nests with the plug-in's own. While a session lives,
// what FreeImage and the libraries under it say is kept, never printed: the last message
// explains a failure, and all of them go to `messages` when one is given.
class FreeImageSession {
 public:
  explicit FreeImageSession(std::vector<std::string>* messages = nullptr) {
    FreeImage_Initialise(FALSE);
    lastMessage().clear();
    collected() = messages;
    FreeImage_SetOutputMessage(&Remember);
    tiff_.Install(&RememberTiff);
  }
  ~FreeImageSession() {
    tiff_.Restore();
    collected() = nullptr;
    FreeImage_DeInitialise();
  }
  FreeImageSession(const FreeImageSession&) = delete;
  FreeImageSession& operator=(const FreeImageSession&) = delete;

  // FreeImage's own explanation of the last failure, or `otherwise`.
  static std::string Detail(const std::string& otherwise) {
    return ": " + (lastMessage().empty() ? otherwise : lastMessage());
  }

 private:
  static std::string& lastMessage() {
    static std::string message;
    return message;
  }
  static std::vector<std::string>*& collected() {
    static std::vector<std::string>* messages = nullptr;
    return messages;
  }
  static void Keep(std::string message) {
    if (collected() != nullptr) collected()->push_back(message);
    lastMessage() = std::move(message);
  }
  static void Remember(FREE_IMAGE_FORMAT, const char* message) { Keep(message ? message : ""); }
  static void RememberTiff(const char* module, const char* format, va_list arguments) {
    std::array<char, 512> text{};
    std::vsnprintf(text.data(), text.size(), format, arguments);
    Keep(module != nullptr ? std::string(module) + ": " + text.data() : text.data());
  }

  // A shared FreeImage reads TIFF files through the system's libtiff, whose own handlers print
  // every warning, and its complaints about tags it does not know, on standard error. They are
  // found at run time, so that nothing links libtiff; a static FreeImage's libtiff is silent.
  class TiffHandlers {
   public:
    using Handler = void (*)(const char*, const char*, va_list);
    void Install(Handler handler) {
#ifndef _WIN32
      using Setter = Handler (*)(Handler);
      setError_ = reinterpret_cast<Setter>(dlsym(RTLD_DEFAULT, "TIFFSetErrorHandler"));
      setWarning_ = reinterpret_cast<Setter>(dlsym(RTLD_DEFAULT, "TIFFSetWarningHandler"));
      if (setError_ != nullptr) error_ = setError_(handler);
      if (setWarning_ != nullptr) warning_ = setWarning_(handler);
#else
      (void)handler;
#endif
    }
    void Restore() {
      if (setError_ != nullptr) setError_(error_);
      if (setWarning_ != nullptr) setWarning_(warning_);
    }

   private:
    Handler (*setError_)(Handler) = nullptr;
    Handler (*setWarning_)(Handler) = nullptr;
    Handler error_ = nullptr;
    Handler warning_ = nullptr;
  };
  TiffHandlers tiff_;
};

struct BitmapDeleter {
  void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
};
using Bitmap = std::unique_ptr<FIBITMAP, BitmapDeleter>;

// FreeImage's resolution for a bitmap it makes: 72 dpi.
inline constexpr unsigned kMadeDotsPerMeter = 2835;

Rect MakeRowRect(int y, int width) {
  return {static_cast<int16>(y), 0, static_cast<int16>(y + 1), static_cast<int16>(width)};
}

// Leaves a decoded bitmap with nothing of its file but the pixels, so that it writes the bytes a
// bitmap made for the file would: no metadata, profile, thumbnail or background colour, and the
// resolution FreeImage gives a new bitmap.
void AsIfMade(FIBITMAP* bitmap) {
  for (int model = FIMD_COMMENTS; model <= FIMD_EXIF_RAW; ++model)
    FreeImage_SetMetadata(static_cast<FREE_IMAGE_MDMODEL>(model), bitmap, nullptr, nullptr);
  FreeImage_DestroyICCProfile(bitmap);
  FreeImage_SetThumbnail(bitmap, nullptr);
  FreeImage_SetBackgroundColor(bitmap, nullptr);
  FreeImage_SetDotsPerMeterX(bitmap, kMadeDotsPerMeter);
  FreeImage_SetDotsPerMeterY(bitmap, kMadeDotsPerMeter);
}

// FreeImage's narrow paths are in the system's code page on Windows; its wide calls take any name.
#ifdef _WIN32
FREE_IMAGE_FORMAT FileTypeOf(const std::string& path) {
  return FreeImage_GetFileTypeU(PathFromUtf8(path).c_str(), 0);
}
FIBITMAP* LoadFile(FREE_IMAGE_FORMAT format, const std::string& path, int flags = 0) {
  return FreeImage_LoadU(format, PathFromUtf8(path).c_str(), flags);
}
bool SaveFile(FREE_IMAGE_FORMAT format, FIBITMAP* bitmap, const std::string& path) {
  return FreeImage_SaveU(format, bitmap, PathFromUtf8(path).c_str(), 0) != FALSE;
}
#else
FREE_IMAGE_FORMAT FileTypeOf(const std::string& path) {
  return FreeImage_GetFileType(path.c_str(), 0);
}
FIBITMAP* LoadFile(FREE_IMAGE_FORMAT format, const std::string& path, int flags = 0) {
  return FreeImage_Load(format, path.c_str(), flags);
}
bool SaveFile(FREE_IMAGE_FORMAT format, FIBITMAP* bitmap, const std::string& path) {
  return FreeImage_Save(format, bitmap, path.c_str(), 0) != FALSE;
}
#endif

bool HasAlpha(FIBITMAP* bitmap, FREE_IMAGE_FORMAT format) {
  if (FreeImage_IsTransparent(bitmap)) return true;
  // FreeImage calls a 32-bit bitmap whose alpha is all 255 opaque; a PNG read
  // as 32 bits had an alpha channel in the file all the same.
  return format == FIF_PNG && FreeImage_GetImageType(bitmap) == FIT_BITMAP &&
         FreeImage_GetBPP(bitmap) == 32;
}

Bitmap To32Bits(FIBITMAP* bitmap) {
  const FREE_IMAGE_TYPE type = FreeImage_GetImageType(bitmap);
  if (type == FIT_BITMAP || type == FIT_RGB16 || type == FIT_RGBA16)
    return Bitmap(FreeImage_ConvertTo32Bits(bitmap));
  Bitmap standard(FreeImage_ConvertToStandardType(bitmap, TRUE));
  return standard ? Bitmap(FreeImage_ConvertTo32Bits(standard.get())) : nullptr;
}

// The formats whose files keep a transparency channel.
bool HoldsAlpha(FREE_IMAGE_FORMAT format) {
  return format == FIF_PNG || format == FIF_TIFF || format == FIF_TARGA || format == FIF_WEBP;
}

// A FreeImage bitmap of 24 or 32 bits as the layer: rows bottom first, each pixel in FreeImage's
// byte order. The rectangles read and written go through a buffer of its own.
class LayerBitmap final : public LayerPixels {
 public:
  LayerBitmap(Bitmap bitmap, int planes)
      : LayerPixels(static_cast<int>(FreeImage_GetWidth(bitmap.get())),
                    static_cast<int>(FreeImage_GetHeight(bitmap.get())), planes),
        bitmap_(std::move(bitmap)),
        step_(static_cast<int>(FreeImage_GetBPP(bitmap_.get()) / 8)) {}

  PixelRows Read(const Rect& rect) override {
    const std::size_t rowBytes = static_cast<std::size_t>(rect.Width()) * Planes();
    buffer_.resize(rowBytes * rect.Height());
    for (int y = 0; y < rect.Height(); ++y) {
      const BYTE* from = Pixel(rect.left, rect.top + y);
      std::uint8_t* to = buffer_.data() + y * rowBytes;
      for (int x = 0; x < rect.Width(); ++x, from += step_, to += Planes()) {
        to[0] = from[FI_RGBA_RED];
        to[1] = from[FI_RGBA_GREEN];
        to[2] = from[FI_RGBA_BLUE];
        if (Planes() == 4) to[3] = from[FI_RGBA_ALPHA];
      }
    }
    return {buffer_.data(), rowBytes};
  }

  void Write(const Rect& rect, PixelRows rows) override {
    for (int y = 0; y < rect.Height(); ++y) {
      const std::uint8_t* from = rows.Row(y);
      BYTE* to = Pixel(rect.left, rect.top + y);
      for (int x = 0; x < rect.Width(); ++x, from += Planes(), to += step_) {
        to[FI_RGBA_RED] = from[0];
        to[FI_RGBA_GREEN] = from[1];
        to[FI_RGBA_BLUE] = from[2];
        if (Planes() == 4) to[FI_RGBA_ALPHA] = from[3];
      }
    }
  }

  // The bitmap, for saving as it is: only when it holds exactly the layer's planes.
  FIBITMAP* Exactly() const { return step_ == Planes() ? bitmap_.get() : nullptr; }
  Bitmap Release() { return std::move(bitmap_); }

 private:
  BYTE* Pixel(int x, int y) const {
    return FreeImage_GetScanLine(bitmap_.get(), Height() - 1 - y) +
           static_cast<std::size_t>(x) * step_;
  }

  Bitmap bitmap_;
  int step_;
  std::vector<std::uint8_t> buffer_;
};

// Whether `size` bytes can be had now. When a decode fails, FreeImage says only that an
// allocation failed, as it does for a damaged size in a file: this tells the two apart.
bool Affordable(std::size_t size) {
  return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[size]) != nullptr;
}

bool AllOpaque(LayerPixels& layer) {
  if (layer.Planes() < 4) return true;
  for (int y = 0; y < layer.Height(); ++y) {
    const PixelRows row = layer.Read(MakeRowRect(y, layer.Width()));
    for (int x = 0; x < layer.Width(); ++x)
      if (row.first[x * 4 + 3] != 255) return false;
  }
  return true;
}

// FreeImage writes a 32-bit bitmap whose alpha is all 255 as an RGB PNG; 16 bits
// per channel keep the alpha channel in the file.
Bitmap MakeRgba16(LayerPixels& layer) {
  Bitmap bitmap(FreeImage_AllocateT(FIT_RGBA16, layer.Width(), layer.Height()));
  if (!bitmap) return nullptr;
  for (int y = 0; y < layer.Height(); ++y) {
    const PixelRows source = layer.Read(MakeRowRect(y, layer.Width()));
    auto* row =
        reinterpret_cast<FIRGBA16*>(FreeImage_GetScanLine(bitmap.get(), layer.Height() - 1 - y));
    for (int x = 0; x < layer.Width(); ++x) {
      const std::uint8_t* pixel = source.first + x * 4;
      row[x].red = static_cast<WORD>(pixel[0] * 257);
      row[x].green = static_cast<WORD>(pixel[1] * 257);
      row[x].blue = static_cast<WORD>(pixel[2] * 257);
      row[x].alpha = static_cast<WORD>(pixel[3] * 257);
    }
  }
  return bitmap;
}

Bitmap MakeBitmap(LayerPixels& layer) {
  const int bpp = layer.Planes() == 4 ? 32 : 24;
  Bitmap bitmap(FreeImage_Allocate(layer.Width(), layer.Height(), bpp, FI_RGBA_RED_MASK,
                                   FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK));
  if (!bitmap) return nullptr;
  LayerBitmap made(std::move(bitmap), layer.Planes());
  for (int y = 0; y < layer.Height(); ++y) {
    const Rect row = MakeRowRect(y, layer.Width());
    made.Write(row, layer.Read(row));
  }
  return made.Release();
}

}  // namespace

std::unique_ptr<LayerPixels> LoadLayerPixels(const std::string& path, bool opaque,
                                             std::string& error,
                                             std::vector<std::string>* libraryMessages) {
  if (const std::string problem = ReadProblem(path); !problem.empty()) {
    error = path + ": " + problem;
    return nullptr;
  }
  FreeImageSession session(libraryMessages);
  FREE_IMAGE_FORMAT format = FileTypeOf(path);
  if (format == FIF_UNKNOWN) format = FreeImage_GetFIFFromFilename(path.c_str());
  if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format)) {
    error = path + ": not an image file this program knows";
    return nullptr;
  }
  const auto noMemory = [&path](unsigned width, unsigned height) {
    return path + ": not enough memory to load its " + std::to_string(width) + " x " +
           std::to_string(height) + " layer (" +
           std::to_string(std::size_t{4} * width * height >> 20) + " MB)";
  };
  Bitmap loaded(LoadFile(format, path));
  if (!loaded) {
    const std::string detail = FreeImageSession::Detail("not a readable image");
    const Bitmap header = FreeImage_FIFSupportsNoPixels(format)
                              ? Bitmap(LoadFile(format, path, FIF_LOAD_NOPIXELS))
                              : nullptr;
    const std::size_t bytes =
        header ? std::size_t{FreeImage_GetPitch(header.get())} * FreeImage_GetHeight(header.get())
               : 0;
    error = bytes != 0 && !Affordable(bytes)
                ? noMemory(FreeImage_GetWidth(header.get()), FreeImage_GetHeight(header.get()))
                : path + detail;
    return nullptr;
  }
  const unsigned width = FreeImage_GetWidth(loaded.get());
  const unsigned height = FreeImage_GetHeight(loaded.get());
  if (width == 0 || height == 0 || width > INT16_MAX || height > INT16_MAX) {
    error = path + ": a layer is 1 to 32767 pixels wide and high";
    return nullptr;
  }
  const bool alpha = !opaque && HasAlpha(loaded.get(), format);
  const FREE_IMAGE_TYPE type = FreeImage_GetImageType(loaded.get());
  const unsigned bpp = FreeImage_GetBPP(loaded.get());
  // A bitmap of 24 or 32 bits is the layer as FreeImage decoded it; any other is converted once.
  if (type == FIT_BITMAP && (bpp == 32 || (bpp == 24 && !alpha)))
    return std::make_unique<LayerBitmap>(std::move(loaded), alpha ? 4 : 3);
  Bitmap converted = To32Bits(loaded.get());
  if (!converted) {
    // Every bitmap and 16-bit RGB(A) image converts; only memory can be short for them.
    const bool convertible = type == FIT_BITMAP || type == FIT_RGB16 || type == FIT_RGBA16;
    error = convertible ? noMemory(width, height)
                        : path + ": can't convert to RGB" +
                              FreeImageSession::Detail("unsupported pixel type");
    return nullptr;
  }
  return std::make_unique<LayerBitmap>(std::move(converted), alpha ? 4 : 3);
}

std::optional<Layer> LoadLayerImage(const std::string& path, bool opaque, std::string& error,
                                    std::vector<std::string>* libraryMessages) {
  const std::unique_ptr<LayerPixels> pixels = LoadLayerPixels(path, opaque, error, libraryMessages);
  if (!pixels) return std::nullopt;
  Layer layer{pixels->Width(), pixels->Height(), pixels->Planes(), {}};
  const std::size_t rowBytes = static_cast<std::size_t>(layer.width) * layer.planes;
  layer.pixels.resize(rowBytes * layer.height);
  for (int y = 0; y < layer.height; ++y) {
    const PixelRows row = pixels->Read(MakeRowRect(y, layer.width));
    std::memcpy(layer.pixels.data() + y * rowBytes, row.first, rowBytes);
  }
  return layer;
}

bool CanSaveLayerImage(const std::string& path, int planes, std::string& error) {
  if (std::error_code ec; std::filesystem::is_directory(PathFromUtf8(path), ec)) {
    error = path + ": " + WriteProblem(path, 0);
    return false;
  }
  FreeImageSession session;
  const FREE_IMAGE_FORMAT format = FreeImage_GetFIFFromFilename(path.c_str());
  if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsWriting(format)) {
    error = path + ": no image format for that file name";
    return false;
  }
  if (planes == 4 && !HoldsAlpha(format)) {
    error = path + ": the format keeps no transparency";
    return false;
  }
  if (!FreeImage_FIFSupportsExportBPP(format, planes == 4 ? 32 : 24)) {
    error = path + ": the format can't hold a " + std::to_string(planes) + "-plane layer";
    return false;
  }
  return true;
}

bool SaveLayerImage(LayerPixels& layer, const std::string& path, std::string& error) {
  FreeImageSession session;
  if (!CanSaveLayerImage(path, layer.Planes(), error)) return false;
  const FREE_IMAGE_FORMAT format = FreeImage_GetFIFFromFilename(path.c_str());
  const bool wide = format == FIF_PNG && layer.Planes() == 4 && AllOpaque(layer);
  // A decoded bitmap of exactly the layer's planes goes out as it is, with nothing of its file
  // but the pixels; any other layer is copied into a bitmap made for the file.
  const auto* decoded = dynamic_cast<const LayerBitmap*>(&layer);
  FIBITMAP* bitmap = !wide && decoded != nullptr ? decoded->Exactly() : nullptr;
  Bitmap made;
  if (bitmap != nullptr) {
    AsIfMade(bitmap);
  } else {
    made = wide ? MakeRgba16(layer) : MakeBitmap(layer);
    bitmap = made.get();
  }
  if (bitmap == nullptr) {
    error = path + ": not enough memory to write the layer";
    return false;
  }
  // Written beside the target and renamed over it when complete, so a failed
  // write leaves no partial file and keeps whatever was there before.
  ReplacingFile file(path);
  if (!file.IsOpen()) {
    error = path + ": " + WriteProblem(path, errno);
    return false;
  }
  if (!SaveFile(format, bitmap, file.TemporaryPath())) {
    error = path + FreeImageSession::Detail("the file can't be written");
    return false;
  }
  if (!file.Commit()) {
    error = path + ": " + WriteProblem(path, errno);
    return false;
  }
  return true;
}

bool SaveLayerImage(const Layer& layer, const std::string& path, std::string& error) {
  if ((layer.planes != 3 && layer.planes != 4) || layer.width <= 0 || layer.height <= 0 ||
      layer.pixels.size() != static_cast<std::size_t>(layer.width) * layer.height * layer.planes) {
    error = path + ": the layer is malformed";
    return false;
  }
  // Only read.
  LayerInMemory pixels(const_cast<Layer&>(layer));
  return SaveLayerImage(pixels, path, error);
}

}  // namespace pictaro
