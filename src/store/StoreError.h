// The store errors: exceptions carrying the message a user sees in the error box.
#pragma once

#include <new>
#include <stdexcept>
#include <string>

namespace vt {

// What an error says to the user: its message, or for memory that ran out, why.
inline std::string ErrorText(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return "Not enough memory to go on: a file Veltrim 2000 was reading is far larger than "
               "any of its own.";
    return error.what();
}

class StoreError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class RegistryError : public StoreError {
  public:
    using StoreError::StoreError;
    static RegistryError SetFailed(const std::string& name) {
        return RegistryError("Failed to set data for '" + name + "'");
    }
    static RegistryError GetFailed(const std::string& name) {
        return RegistryError("Failed to get data for '" + name + "'");
    }
    static RegistryError InvalidType(const std::string& name) {
        return RegistryError("Invalid data type for '" + name + "'");
    }
};

class IniFileError : public StoreError {
  public:
    using StoreError::StoreError;
    static IniFileError WriteFailed(const std::string& fileName) {
        return IniFileError("Unable to write to " + fileName);
    }
};

}  // namespace vt
