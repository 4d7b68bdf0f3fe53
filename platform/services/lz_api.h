#pragma once
// The LZ expansion library (lz32): opens files, expands SZDD-compressed ones while copying.
#include <cstdint>
#include <string>

namespace platform {

// The open-file record that LZOpenFile fills (OFSTRUCT); only nErrCode is read.
struct OfStruct {
  std::uint8_t cBytes = 0;
  std::uint8_t fFixedDisk = 0;
  std::uint16_t nErrCode = 0;
  std::uint16_t reserved1 = 0;
  std::uint16_t reserved2 = 0;
  char szPathName[128] = {};
};

namespace LzStyle {
constexpr std::uint16_t kRead = 0x0000;    // OF_READ
constexpr std::uint16_t kCreate = 0x1000;  // OF_CREATE: create, or empty an existing file
}  // namespace LzStyle

// The results of LZCopy below zero.
namespace LzError {
constexpr std::int32_t kBadInHandle = -1;
constexpr std::int32_t kBadOutHandle = -2;
constexpr std::int32_t kRead = -3;
constexpr std::int32_t kWrite = -4;
constexpr std::int32_t kGlobalAlloc = -5;
constexpr std::int32_t kGlobalLock = -6;
constexpr std::int32_t kBadValue = -7;
constexpr std::int32_t kUnknownAlgorithm = -8;
}  // namespace LzError

class LzApi {
 public:
  virtual ~LzApi() = default;
  // LZOpenFile: a handle of 0 or more, or a negative value with the system error code
  // in `record.nErrCode`.
  virtual std::int32_t OpenFile(const std::string& path, OfStruct& record, std::uint16_t style) = 0;
  // LZCopy: the destination's size in bytes, or an LzError code.
  virtual std::int32_t Copy(std::int32_t source, std::int32_t destination) = 0;
  // LZClose.
  virtual void Close(std::int32_t handle) = 0;
};

}  // namespace platform
