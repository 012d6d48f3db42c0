// Result codes shared by every layer: 32-bit HRESULT values, spelled so that
// portable code needs no <windows.h>. On Windows the type is the system's own
// (long), so values pass to and from the system without casts.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#ifndef _HRESULT_DEFINED
#define _HRESULT_DEFINED
typedef long HRESULT;
#endif
#else
typedef int32_t HRESULT;
#endif

namespace hr {

constexpr HRESULT Make(uint32_t bits) { return static_cast<HRESULT>(static_cast<int32_t>(bits)); }

constexpr HRESULT kOk = 0;
constexpr HRESULT kFalse = 1;
constexpr HRESULT kNotImpl = Make(0x80004001u);
constexpr HRESULT kPointer = Make(0x80004003u);
constexpr HRESULT kAbort = Make(0x80004004u);
constexpr HRESULT kFail = Make(0x80004005u);
constexpr HRESULT kUnexpected = Make(0x8000FFFFu);
constexpr HRESULT kAccessDenied = Make(0x80070005u);
constexpr HRESULT kOutOfMemory = Make(0x8007000Eu);
constexpr HRESULT kInvalidArg = Make(0x80070057u);

constexpr bool Succeeded(HRESULT h) { return h >= 0; }
constexpr bool Failed(HRESULT h) { return h < 0; }

}  // namespace hr
