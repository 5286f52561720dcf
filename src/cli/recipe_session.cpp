#include "cli/recipe_session.h"

#include <cstdio>
#include <cstdlib>

namespace qv::cli {

RecipeSession::RecipeSession(const ElementTable& table, std::string label)
    : HeadlessForm(table), label_(std::move(label)) {
    // The in-memory form returns from fatal; the process must not go on.
    form.onFatal = [this](std::string_view text, int exitCode) {
        say(std::string(text));
        std::exit(exitCode);
    };
}

RecipeResult RecipeSession::load(const std::string& path) {
    const RecipeResult result = loadRecipe(model, path, &encoding_);
    flushMessages();
    return result;
}

void RecipeSession::flushMessages() {
    for (; shown_ < form.messages.size(); ++shown_) say(form.messages[shown_].text);
}

void RecipeSession::say(const std::string& text) const {
    if (label_.empty())
        std::fprintf(stderr, "%s\n", text.c_str());
    else
        std::fprintf(stderr, "%s: %s\n", label_.c_str(), text.c_str());
}

}  // namespace qv::cli
