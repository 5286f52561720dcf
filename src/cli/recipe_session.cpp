#include "cli/recipe_session.h"

#include <cstdio>

namespace qv::cli {

RecipeSession::RecipeSession(const ElementTable& table, std::string label)
    : HeadlessForm(table), label_(std::move(label)) {}

RecipeResult RecipeSession::load(const std::string& path) {
    RecipeResult result = loadRecipe(model, path);
    flushMessages();
    // An inconsistent form gives no report: the message, then the file fails.
    if (const auto& failure = model.failure()) {
        say(failure->text);
        result = RecipeResult::Failed;
    }
    return result;
}

void RecipeSession::flushMessages() {
    for (; shown_ < messages.size(); ++shown_) say(messages[shown_].text);
}

void RecipeSession::say(const std::string& text) const {
    if (label_.empty())
        std::fprintf(stderr, "%s\n", text.c_str());
    else
        std::fprintf(stderr, "%s: %s\n", label_.c_str(), text.c_str());
}

}  // namespace qv::cli
