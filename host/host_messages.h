#pragma once

#include <cstdint>

// Every host message is WM_USER sent to the host's main window; the code
// travels in wParam and a pointer into the plug-in's memory in lParam.
inline constexpr std::uint32_t HOST_MESSAGE = 0x0400;  // WM_USER

inline constexpr std::uint32_t HOST_MSG_QUERY_API = 0x01020100;
inline constexpr std::uint32_t HOST_MSG_SEND_DISEQC = 0x01021015;
inline constexpr std::uint32_t HOST_MSG_SEND_DISEQC_RECORD = 0x01022002;

// The buffer the host fills with its API name, terminating zero included.
inline constexpr std::size_t HOST_API_NAME_BUFFER = 256;
