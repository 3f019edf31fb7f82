#include "host/api_dialect.h"

#include <cstring>

ApiDialect dialectForApiName(std::string_view name) {
    return name.starts_with("MD-API") ? ApiDialect::MdApi : ApiDialect::Native;
}

std::string apiNameFromBuffer(const char* buffer, std::size_t size) {
    if (size == 0) return {};
    const void* zero = std::memchr(buffer, 0, size);
    const std::size_t length =
        zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - buffer) : size - 1;
    return std::string(buffer, length);
}
