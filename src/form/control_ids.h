#pragma once
// Names of the main window's controls, as MainWindow::control() and the
// tests find them. The numbers are only names: views learn of changes from
// the model's notices (form_observer.h).

namespace qv {

enum class ControlId : int {
    SampleTag = 1000,         // edit "Sample Tag"
    FinalCompound = 1001,     // formula edit of the final compound
    FinalRatio = 1002,        // ratio edit of the final compound
    Difference = 1003,        // read-only formula edit: final compound minus fixed entries
    MoveAllToExclude = 1005,  // button "<<"
    MoveAllToInclude = 1006,  // button ">>"
    MoveToExclude = 1007,     // button "<"
    MoveToInclude = 1008,     // button ">"
    Mass = 1010,              // edit "Gram"
    ClearAll = 1011,          // button "Clear All"
    SourceList = 1012,        // the thirty source rows
    ExcludeList = 1013,       // list view "Exclude"
    IncludeList = 1014,       // list view "Include"
    OutputButton = 1020,      // button "Output"
    FreeCount = 1021,         // static: number of free entries
    IncludeCount = 1022,      // static: number of elements in the Include list
    Status = 1024,            // status box of the solver
    Explain = 1025,           // button "?"
    Notice = 1027,            // notice line at the top
};

}  // namespace qv
