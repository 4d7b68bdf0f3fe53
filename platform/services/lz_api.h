#pragma once
// The LZ expansion library (lz32): expands SZDD-compressed files while copying, between files
// that the program has opened itself.
#include <cstdint>

#include "platform/services/file_system.h"

namespace platform {

// The results of LZInit and LZCopy below zero.
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
  // LZInit over the open `source`, read from its first byte: a handle of 0 or more that reads
  // it expanded (as it is, when it is no SZDD file), or an LzError code. The handle reads
  // through a handle of its own: closing it leaves `source` open.
  virtual std::int32_t Init(FileChannel& source) = 0;
  // LZCopy from such a handle into the open `destination`, written from its current
  // position: the destination's size in bytes, or an LzError code.
  virtual std::int32_t Copy(std::int32_t source, FileChannel& destination) = 0;
  // LZClose.
  virtual void Close(std::int32_t handle) = 0;
};

}  // namespace platform
