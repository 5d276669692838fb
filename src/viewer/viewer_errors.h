// The viewer's failure reports: "DirectX Error %08X - %s - %s" with the
// result code, its explanation and the operation that failed. Codes are the
// graphics library's error values (0x0500 to 0x0506) and the platform
// result codes the viewer raises itself; any other code is explained as
// "Unrecognized error value.".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ws::viewer {

// Platform result codes the viewer reports for failures without a GL error.
inline constexpr std::uint32_t kResultGenericFailure = 0x80004005;  // no context at all
inline constexpr std::uint32_t kResultNotSupported = 0x80004001;    // below OpenGL 3.3 core
inline constexpr std::uint32_t kResultNoInterface = 0x80004002;     // a shader would not build

std::string_view ErrorDescription(std::uint32_t code);
std::string FormatViewerError(std::uint32_t code, std::string_view operation);

struct ViewerFailure {
  std::uint32_t code = 0;
  std::string operation;
};

}  // namespace ws::viewer
