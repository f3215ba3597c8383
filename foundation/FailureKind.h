#pragma once

// What went wrong, in the terms the program tells failures apart by: the
// windows choose a message box's title and icon from it, the command line
// its exit status. The words for the user stay with the failure itself.
enum class FailureKind {
    Other,             // nothing more particular to say
    Usage,             // the command line was given wrong arguments
    Cancelled,         // the user stopped it
    WrongFileType,     // a file of a kind the program does not open
    FileSystem,        // the system refused to open, read or write a file (errno kept)
    NotSaved,          // a document or its photo was not saved (errno kept)
    DamagedInput,      // a file or a copy whose content is not what it should be
    RefusedField,      // a field check refused the record
    RefusedPartyText,  // the party-membership text does not split into its entries
    RefusedMargins,    // the margins typed into their dialog are refused
    TooLongForCell,    // a text refused for its length and left out of its cell
    DoesNotFitCell,    // a text that runs out of its cell even at the smallest size
    ResumeTooLong,     // the résumé, or one of its lines, does not fit its table
    MissingFont,       // a typeface the form prints in is not installed
    Printer,           // the printer could not take the pages
    OutOfMemory,       // an image too large to hold
};
