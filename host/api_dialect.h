#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// How a host takes a command. The values are stored in the setup window as
// 32-bit integers, hence the fixed numbering.
enum class ApiDialect : std::int32_t { Native = 0, MdApi = 1 };

ApiDialect dialectForApiName(std::string_view name);

// The name a host wrote into the query buffer: the text before the first
// zero byte. A host that filled every byte gets its last byte taken as zero.
std::string apiNameFromBuffer(const char* buffer, std::size_t size);
