#pragma once

// Gives the program its title and version, makes the control classes known to window
// definitions, and sets up the fonts; main and the tests call it once after creating the
// application object.
void SetUpApplication();
