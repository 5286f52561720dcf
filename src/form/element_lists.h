#pragma once
// The element-use map and the Include / Exclude lists: every element that some
// formula entry uses has exactly one item, in the Include list when its
// include flag is set and in the Exclude list otherwise.

#include "core/composition.h"

namespace qv {

class Model;
class ElementListView;

// Count the composition's elements in; first uses get their list item.
void registerElements(Model& model, const Composition& composition);
// Count them out; last uses lose their list item.
void releaseElements(Model& model, const Composition& composition);

// Move the item at the position to the other list and flip the element's
// include flag. False when the item cannot be read.
bool moveElementItem(Model& model, ElementListView& list, int position);
// Both answer the number of items moved; nothing at all happens when there is
// nothing to move.
int moveSelectedElements(Model& model, ElementListView& list);
int moveAllElements(Model& model, ElementListView& list);
// Evaluate the final compound and the thirty rows again.
void recomputeCompositions(Model& model);

// Rebuild both lists from the element-use map and the include flags (after
// the flags changed behind the lists' back, e.g. a recipe's flags line).
void rebuildElementLists(Model& model);

// Handlers of the main window.

// Click on a list: position of the item under the pointer, or -1.
void elementListClicked(Model& model, ElementListView& list, int position);
// Return in a list and the buttons ">" "<" (selected) and ">>" "<<" (all);
// the solver runs when something moved.
void moveSelectedAndSolve(Model& model, ElementListView& list);
void moveAllAndSolve(Model& model, ElementListView& list);

}  // namespace qv
