#pragma once
// Raises the model's editorUpdateGuard for one scope, so that the change
// notifications of an editor the program itself writes into are not taken
// for typing. Nested guards leave the flag as the outer one found it.

#include "form/model.h"

namespace qv {

class EditorUpdateGuard {
public:
    explicit EditorUpdateGuard(Model& model) : model_(model), was_(model.editorUpdateGuard()) {
        model_.setEditorUpdateGuard(true);
    }
    ~EditorUpdateGuard() { model_.setEditorUpdateGuard(was_); }
    EditorUpdateGuard(const EditorUpdateGuard&) = delete;
    EditorUpdateGuard& operator=(const EditorUpdateGuard&) = delete;

private:
    Model& model_;
    bool was_;
};

}  // namespace qv
