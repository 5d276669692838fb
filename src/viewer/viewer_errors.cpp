#include "viewer/viewer_errors.h"

#include <cstdio>

namespace ws::viewer {

std::string_view ErrorDescription(std::uint32_t code) {
  switch (code) {
    case 0x0500:
      return "An unacceptable value is specified for an enumerated argument.";
    case 0x0501:
      return "A numeric argument is out of range.";
    case 0x0502:
      return "The specified operation is not allowed in the current state.";
    case 0x0503:
      return "This command would cause a stack overflow.";
    case 0x0504:
      return "This command would cause a stack underflow.";
    case 0x0505:
      return "There is not enough memory left to execute the command.";
    case 0x0506:
      return "The framebuffer object is not complete.";
    case kResultGenericFailure:
      return "Generic failure.";
    case kResultNotSupported:
      return "Action not supported.";
    case kResultNoInterface:
      return "E_NOINTERFACE";
    case 0x80004003:
      return "E_POINTER";
    case 0x8007000E:
      return "DirectDraw does not have enough memory to perform the operation.";
    default:
      return "Unrecognized error value.";
  }
}

std::string FormatViewerError(std::uint32_t code, std::string_view operation) {
  char number[16];
  std::snprintf(number, sizeof number, "%08X", static_cast<unsigned>(code));
  std::string text = "DirectX Error ";
  text += number;
  text += " - ";
  text += ErrorDescription(code);
  text += " - ";
  text += operation;
  return text;
}

}  // namespace ws::viewer
