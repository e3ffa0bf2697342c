#include "cli/json_output.h"

#include "text/display_text.h"

namespace {

void makeStringsValid(nlohmann::ordered_json& value) {
    if (value.is_string()) {
        value = validUtf8(value.get_ref<const std::string&>());
    } else if (value.is_array()) {
        for (auto& element : value) makeStringsValid(element);
    } else if (value.is_object()) {
        nlohmann::ordered_json fixed = nlohmann::ordered_json::object();
        for (auto& [key, element] : value.items()) {
            makeStringsValid(element);
            fixed[validUtf8(key)] = std::move(element);
        }
        value = std::move(fixed);
    }
}

}  // namespace

nlohmann::ordered_json offsetJson(const std::array<float, 3>& offset) {
    return {{"x", offset[0]}, {"y", offset[2]}, {"up", offset[1]}};
}

void printJson(std::ostream& out, nlohmann::ordered_json value) {
    makeStringsValid(value);
    out << value.dump(2) << "\n";
}
