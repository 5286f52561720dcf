#pragma once
// One recipe on a form without a window, for the verbs that read QVS files:
// the element table copied in, the form cleared as at start-up, the recipe
// loaded as the Open command does, and every message box sent to stderr.

#include <cstddef>
#include <string>

#include "form/headless_form.h"
#include "recipe/recipe_file.h"

namespace qv::cli {

class RecipeSession : public HeadlessForm {
public:
    RecipeSession(const ElementTable& table, std::string label);
    RecipeSession(const RecipeSession&) = delete;
    RecipeSession& operator=(const RecipeSession&) = delete;

    // loadRecipe, then the messages it showed.
    RecipeResult load(const std::string& path);
    // How the loaded file was encoded, for saving it back alike.
    TextEncoding encoding() const { return encoding_; }
    // Prints the message boxes shown since the last call, one per line.
    void flushMessages();
    // Prints a line to stderr, behind the label when there is one.
    void say(const std::string& text) const;

private:
    std::string label_;
    TextEncoding encoding_ = TextEncoding::Utf8;
    std::size_t shown_ = 0;
};

}  // namespace qv::cli
