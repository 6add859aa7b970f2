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

// FreeImage's narrow paths are in the system's code page on Windows; its wide calls take any name.
#ifdef _WIN32
FREE_IMAGE_FORMAT FileTypeOf(const std::string& path) {
  return FreeImage_GetFileTypeU(PathFromUtf8(path).c_str(), 0);
}
FIBITMAP* LoadFile(FREE_IMAGE_FORMAT format, const std::string& path) {
  return FreeImage_LoadU(format, PathFromUtf8(path).c_str(), 0);
}
bool SaveFile(FREE_IMAGE_FORMAT format, FIBITMAP* bitmap, const std::string& path) {
  return FreeImage_SaveU(format, bitmap, PathFromUtf8(path).c_str(), 0) != FALSE;
}
#else
FREE_IMAGE_FORMAT FileTypeOf(const std::string& path) {
  return FreeImage_GetFileType(path.c_str(), 0);
}
FIBITMAP* LoadFile(FREE_IMAGE_FORMAT format, const std::string& path) {
  return FreeImage_Load(format, path.c_str(), 0);
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

bool AllOpaque(const Layer& layer) {
  if (layer.planes < 4) return true;
  for (std::size_t i = 3; i < layer.pixels.size(); i += 4)
    if (layer.pixels[i] != 255) return false;
  return true;
}

// FreeImage writes a 32-bit bitmap whose alpha is all 255 as an RGB PNG; 16 bits
// per channel keep the alpha channel in the file.
Bitmap MakeRgba16(const Layer& layer) {
  Bitmap bitmap(FreeImage_AllocateT(FIT_RGBA16, layer.width, layer.height));
  if (!bitmap) return nullptr;
  for (int y = 0; y < layer.height; ++y) {
    auto* row =
        reinterpret_cast<FIRGBA16*>(FreeImage_GetScanLine(bitmap.get(), layer.height - 1 - y));
    for (int x = 0; x < layer.width; ++x) {
      const std::uint8_t* pixel = layer.At(x, y);
      row[x].red = static_cast<WORD>(pixel[0] * 257);
      row[x].green = static_cast<WORD>(pixel[1] * 257);
      row[x].blue = static_cast<WORD>(pixel[2] * 257);
      row[x].alpha = static_cast<WORD>(pixel[3] * 257);
    }
  }
  return bitmap;
}

Bitmap MakeBitmap(const Layer& layer) {
  const int bpp = layer.planes == 4 ? 32 : 24;
  Bitmap bitmap(FreeImage_Allocate(layer.width, layer.height, bpp, FI_RGBA_RED_MASK,
                                   FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK));
  if (!bitmap) return nullptr;
  const int step = bpp / 8;
  // FreeImage keeps the bottom row first, each pixel in its own byte order.
  for (int y = 0; y < layer.height; ++y) {
    BYTE* row = FreeImage_GetScanLine(bitmap.get(), layer.height - 1 - y);
    for (int x = 0; x < layer.width; ++x) {
      const std::uint8_t* pixel = layer.At(x, y);
      BYTE* target = row + static_cast<std::size_t>(x) * step;
      target[FI_RGBA_RED] = pixel[0];
      target[FI_RGBA_GREEN] = pixel[1];
      target[FI_RGBA_BLUE] = pixel[2];
      if (layer.planes == 4) target[FI_RGBA_ALPHA] = pixel[3];
    }
  }
  return bitmap;
}

}  // namespace

std::optional<Layer> LoadLayerImage(const std::string& path, bool opaque, std::string& error,
                                    std::vector<std::string>* libraryMessages) {
  if (const std::string problem = ReadProblem(path); !problem.empty()) {
    error = path + ": " + problem;
    return std::nullopt;
  }
  FreeImageSession session(libraryMessages);
  FREE_IMAGE_FORMAT format = FileTypeOf(path);
  if (format == FIF_UNKNOWN) format = FreeImage_GetFIFFromFilename(path.c_str());
  if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format)) {
    error = path + ": not an image file this program knows";
    return std::nullopt;
  }
  Bitmap loaded(LoadFile(format, path));
  if (!loaded) {
    error = path + FreeImageSession::Detail("not a readable image");
    return std::nullopt;
  }
  const int width = static_cast<int>(FreeImage_GetWidth(loaded.get()));
  const int height = static_cast<int>(FreeImage_GetHeight(loaded.get()));
  if (width <= 0 || height <= 0 || width > INT16_MAX || height > INT16_MAX) {
    error = path + ": a layer is 1 to 32767 pixels wide and high";
    return std::nullopt;
  }
  const std::string noMemory = path + ": not enough memory to load its " + std::to_string(width) +
                               " x " + std::to_string(height) + " layer (" +
                               std::to_string(std::size_t{4} * width * height >> 20) + " MB)";
  const bool alpha = !opaque && HasAlpha(loaded.get(), format);
  const FREE_IMAGE_TYPE type = FreeImage_GetImageType(loaded.get());
  Bitmap bitmap = To32Bits(loaded.get());
  if (!bitmap) {
    // Every bitmap and 16-bit RGB(A) image converts; only memory can be short for them.
    const bool convertible = type == FIT_BITMAP || type == FIT_RGB16 || type == FIT_RGBA16;
    error = convertible ? noMemory
                        : path + ": can't convert to RGB" +
                              FreeImageSession::Detail("unsupported pixel type");
    return std::nullopt;
  }

  Layer layer;
  layer.width = width;
  layer.height = height;
  layer.planes = alpha ? 4 : 3;
  try {
    layer.pixels.resize(static_cast<std::size_t>(width) * height * layer.planes);
  } catch (const std::bad_alloc&) {
    error = noMemory;
    return std::nullopt;
  }
  for (int y = 0; y < height; ++y) {
    const BYTE* row = FreeImage_GetScanLine(bitmap.get(), height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const BYTE* source = row + static_cast<std::size_t>(x) * 4;
      std::uint8_t* pixel = layer.At(x, y);
      pixel[0] = source[FI_RGBA_RED];
      pixel[1] = source[FI_RGBA_GREEN];
      pixel[2] = source[FI_RGBA_BLUE];
      if (alpha) pixel[3] = source[FI_RGBA_ALPHA];
    }
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

bool SaveLayerImage(const Layer& layer, const std::string& path, std::string& error) {
  if ((layer.planes != 3 && layer.planes != 4) || layer.width <= 0 || layer.height <= 0 ||
      layer.pixels.size() != static_cast<std::size_t>(layer.width) * layer.height * layer.planes) {
    error = path + ": the layer is malformed";
    return false;
  }
  FreeImageSession session;
  if (!CanSaveLayerImage(path, layer.planes, error)) return false;
  const FREE_IMAGE_FORMAT format = FreeImage_GetFIFFromFilename(path.c_str());
  const bool wide = format == FIF_PNG && layer.planes == 4 && AllOpaque(layer);
  Bitmap bitmap = wide ? MakeRgba16(layer) : MakeBitmap(layer);
  if (!bitmap) {
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
  if (!SaveFile(format, bitmap.get(), file.TemporaryPath())) {
    error = path + FreeImageSession::Detail("the file can't be written");
    return false;
  }
  if (!file.Commit()) {
    error = path + ": " + WriteProblem(path, errno);
    return false;
  }
  return true;
}

}  // namespace pictaro
