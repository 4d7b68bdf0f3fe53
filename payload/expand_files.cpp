#include "payload/expand_files.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>

#include "platform/services/lz_api.h"
#include "platform/text/text.h"

namespace payload {
namespace {

constexpr std::string_view kTitle = "ExpandFiles - Hata!";
constexpr int kStyle = platform::MsgBoxStyle::kSystemModal | platform::MsgBoxStyle::kExclamation;
constexpr std::int32_t kCopyFactor = 100;

struct OpenFailure {
  std::int32_t result;
  bool namesFile;  // the message is "'" + path + text; otherwise the text alone
  std::string_view text;
};

struct KnownOpenError {
  int errorCode;  // the system's error code
  OpenFailure failure;
};

namespace SystemError = platform::SystemError;

constexpr std::array<KnownOpenError, 15> kKnownOpenErrors = {{
    {SystemError::kFileNotFound, {-1, true, "' isimli dosya bulunamadı!"}},
    {SystemError::kPathNotFound, {-2, true, "' isimli dosya için yol geçersiz!"}},
    {SystemError::kTooManyOpenFiles, {-3, false, "Çok sayıda açık dosya var!"}},
    {SystemError::kAccessDenied, {-4, true, "' isimli dosyaya erişim engellendi!"}},
    {SystemError::kNotEnoughMemory, {-5, false, "Bellek Yetersiz!"}},
    {SystemError::kBadFormat, {-6, true, "' isimli dosyanın biçimi geçersiz!"}},
    {SystemError::kInvalidDrive, {-7, true, "' isimli dosya için verilen sürücü geçersiz!"}},
    {SystemError::kWriteProtect, {-8, true, "' isimli dosyaya yazılamıyor!"}},
    {SystemError::kNotReady, {-9, true, "' isimli dosyanın bulunduğu sürücü hazır değil!"}},
    {SystemError::kCrc, {-10, true, "' isimli dosyada CRC hatası!"}},
    {SystemError::kSectorNotFound, {-11, true, "' isimli dosyanın olduğu sector bulunamadı!"}},
    {SystemError::kSharingViolation, {-12, true, "' isimli dosya kullanımda!"}},
    {SystemError::kNetworkBusy, {-13, true, "' isimli dosyanın bulunduğu bilgisayar okunamıyor!"}},
    {SystemError::kNetworkAccessDenied,
     {-14, true, "' isimli dosyanın bulunduğu bilgisayara erişim engellendi!"}},
    {SystemError::kFileExists, {-15, true, "' isimli dosya zaten var!"}},
}};

constexpr OpenFailure kUnknownOpenFailure = {-16, true,
                                             "' isimli dosya ile ilgili bilinmeyen hata!"};

const OpenFailure* FindOpenFailure(std::int32_t resultCode) {
  if (resultCode == kUnknownOpenFailure.result) return &kUnknownOpenFailure;
  for (const KnownOpenError& known : kKnownOpenErrors) {
    if (known.failure.result == resultCode) return &known.failure;
  }
  return nullptr;
}

struct CopyFailure {
  std::int32_t result;
  std::string_view text;
};

// The copy failures that have a message; −400, −600 and −700 have none.
constexpr std::array<CopyFailure, 5> kCopyFailures = {{
    {platform::LzError::kBadInHandle * kCopyFactor, "Kaynak dosya handle numarası yanlış!"},
    {platform::LzError::kBadOutHandle * kCopyFactor, "Hedef dosya handle numarası yanlış!"},
    {platform::LzError::kRead * kCopyFactor, "Kaynak dosya formatı geçersiz!"},
    {platform::LzError::kGlobalAlloc * kCopyFactor, "Bellek Yetersiz!"},
    {platform::LzError::kUnknownAlgorithm * kCopyFactor,
     "Kaynak dosyanın sıkıştırılması için kullanılmış olan algortima desteklenmiyor!"},
}};

const CopyFailure* FindCopyFailure(std::int32_t resultCode) {
  const auto found = std::find_if(kCopyFailures.begin(), kCopyFailures.end(),
                                  [&](const CopyFailure& f) { return f.result == resultCode; });
  return found == kCopyFailures.end() ? nullptr : &*found;
}

void ShowCopyError(platform::Toolkit& toolkit, std::int32_t resultCode) {
  if (const CopyFailure* failure = FindCopyFailure(resultCode)) {
    toolkit.MsgBox(std::string(failure->text), kStyle, std::string(kTitle));
  }
}

// LZCopy's result: a size above 0 as it is, 0 or an error code times 100.
std::int32_t CopyResult(std::int32_t copied) {
  if (copied > 0) return copied;
  const std::int64_t scaled = std::int64_t{copied} * kCopyFactor;
  return static_cast<std::int32_t>(
      std::max<std::int64_t>(scaled, std::numeric_limits<std::int32_t>::min()));
}

}  // namespace

std::int32_t MapOpenError(int systemError) {
  for (const KnownOpenError& known : kKnownOpenErrors) {
    if (known.errorCode == systemError) return known.failure.result;
  }
  return kUnknownOpenFailure.result;
}

bool ExpandFileReports(std::int32_t resultCode) {
  return FindOpenFailure(resultCode) != nullptr || FindCopyFailure(resultCode) != nullptr;
}

void ShowOpenError(platform::Toolkit& toolkit, std::int32_t resultCode, const std::string& path) {
  const OpenFailure* failure = FindOpenFailure(resultCode);
  if (failure == nullptr) return;
  const std::string text = failure->namesFile
                               ? "'" + platform::Trim(path) + std::string(failure->text)
                               : std::string(failure->text);
  toolkit.MsgBox(text, kStyle, std::string(kTitle));
}

std::int32_t ExpandFile(platform::Platform& platform, platform::FileChannel& source,
                        platform::FileChannel& destination, bool showErrors) {
  const std::int32_t handle = platform.lz.Init(source);
  const std::int32_t result =
      CopyResult(handle < 0 ? handle : platform.lz.Copy(handle, destination));
  if (handle >= 0) platform.lz.Close(handle);
  if (showErrors) ShowCopyError(platform.toolkit, result);
  return result;
}

}  // namespace payload
