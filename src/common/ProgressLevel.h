#pragma once

// Levels of a progress line. The run log marks warnings with "[W] " and errors with "[E] ".
enum class ProgressLevel : int {
    Normal = 0,
    Warning = 1,
    Error = 2,
};
