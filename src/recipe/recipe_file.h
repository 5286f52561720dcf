#pragma once
// Recipe files (*.QVS): everything typed into the form, one record per line.
//
//   -2 <include flags, one "0"/"1" per element>
//   -1 <sample tag>
//    0 <grams> <final ratio> <final formula>
//   1..30 <fix flag> <ratio> <formula>       (row number = row index + 1)
//
// Written with CR LF and five decimals; read back with any line end. Numbers
// use a point whatever the locale. The file dialogs belong to the window: these
// functions take the chosen path and report through the model's messages.

#include <optional>
#include <string>
#include <string_view>

namespace qv {

class Model;

inline constexpr std::string_view kRecipeErrorTitle = "Quorvex : File I/O Error";
inline constexpr std::string_view kRecipeLoadFailedText = "Failed to load a file.";
inline constexpr std::string_view kRecipeBadMassText = "Check the amount of the final product.";
inline constexpr std::string_view kRecipeBadFinalText = "Check the final product and its ratio.";
inline constexpr std::string_view kRecipeSaveFailedText =
    "Failed to save a file. The previous file, if any, is unchanged.";
inline constexpr std::string_view kRecipeLineTooLongText =
    "Failed to save a file: a line would be longer than 1023 characters and could not be "
    "loaded back. Shorten the sample tag or the numbers.";

// Longest line piece the loader handles at once: longer lines are read in
// pieces of this many bytes less one, each taken as a line of its own.
inline constexpr int kRecipeLineBuffer = 1024;
// Longest text readNumberField accepts.
inline constexpr int kNumberFieldMax = 99;

// Drops bytes 1..32 at the start and cuts the text after its last byte in
// 33..127 (so trailing blanks, control bytes and bytes above 127 go).
// Answers the new length.
int trimBlanks(std::string& text);

// What a load or a save came to; the failure's message box has been shown.
enum class RecipeResult { Done, Failed };

// A whole-text number as the form's number fields hold it: blanks around it
// are ignored, an empty text is 0. False for anything else, for a text longer
// than kNumberFieldMax, and for a value too large for a double.
bool readNumberField(std::string_view text, double& value);

// Replaces the form by the recipe in the file and runs the solver. Done when
// the whole file was read; otherwise Failed, after the failure message, with the form
// cleared and the default include flags (the sample tag keeps what the file
// had already set). A formula the editor could not hold whole (a refused
// character, more than 480 characters) fails the load too.
RecipeResult loadRecipe(Model& model, const std::string& path);

// The checks made before the save dialog opens: the mass field and the final
// compound. The mass, or nothing after the check's message box.
std::optional<double> checkRecipeForSave(Model& model);

// The file's bytes for the current form and the given mass.
std::string recipeText(Model& model, double mass);

// Writes the recipe safely: the old file is replaced only once the new one is
// complete and closed, and is left alone on any failure. Done when written;
// Failed after the kRecipeSaveFailedText message, or kRecipeLineTooLongText when a
// line would not fit the loader's line buffer (nothing is written then). The
// caller confirms success (a short beep on the desktop).
RecipeResult writeRecipeFile(Model& model, const std::string& path, double mass);

// Both of the above, for callers that have their path already.
RecipeResult saveRecipe(Model& model, const std::string& path);

}  // namespace qv
