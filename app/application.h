#pragma once

// The calculator's set-up: main and the tests call it once after creating the application object.
void SetUpApplication();
