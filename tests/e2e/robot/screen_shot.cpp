#include "tests/e2e/robot/screen_shot.h"

#include <windows.h>

#include <vector>

namespace robot {
namespace {

constexpr WORD kBitsPerPixel = 24;

// Rows of a BMP file are padded to whole 32-bit words.
DWORD RowBytes(int width) { return ((static_cast<DWORD>(width) * kBitsPerPixel + 31) / 32) * 4; }

bool WriteAll(HANDLE file, const void* data, DWORD size) {
  DWORD written = 0;
  return WriteFile(file, data, size, &written, nullptr) && written == size;
}

bool WriteBmp(const std::wstring& path, const BITMAPINFOHEADER& info, const void* pixels) {
  const DWORD headers = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  BITMAPFILEHEADER head{};
  head.bfType = 0x4D42;  // "BM"
  head.bfOffBits = headers;
  head.bfSize = headers + info.biSizeImage;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool ok = WriteAll(file, &head, sizeof head) && WriteAll(file, &info, sizeof info) &&
                  WriteAll(file, pixels, info.biSizeImage);
  return CloseHandle(file) && ok;
}

}  // namespace

bool SaveScreen(const std::wstring& path) {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (width <= 0 || height <= 0) return false;

  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // positive: bottom-up, as BMP files store it
  info.biPlanes = 1;
  info.biBitCount = kBitsPerPixel;
  info.biCompression = BI_RGB;
  info.biSizeImage = RowBytes(width) * static_cast<DWORD>(height);

  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                    &pixels, nullptr, 0);
  bool ok = false;
  if (bitmap) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    ok = BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    SelectObject(memory, old);
    ok = ok && WriteBmp(path, info, pixels);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

}  // namespace robot
