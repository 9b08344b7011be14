#pragma once

#include <cstdint>

namespace suite {

// Result codes of the component entry points, with the values a component's
// caller has always compared against (32-bit, negative on failure).
using HResult = std::int32_t;

namespace hresult {
constexpr HResult Ok = 0;                                      // S_OK
constexpr HResult False = 1;                                   // S_FALSE
constexpr HResult Pointer = static_cast<HResult>(0x80004003);  // E_POINTER
constexpr HResult Fail = static_cast<HResult>(0x80004005);     // E_FAIL
constexpr HResult ClassNotAvailable = static_cast<HResult>(0x80040111); // CLASS_E_CLASSNOTAVAILABLE
constexpr HResult RegisterClassFailed = static_cast<HResult>(0x80040201); // SELFREG_E_CLASS
} // namespace hresult

} // namespace suite
