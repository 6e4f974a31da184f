#pragma once

class QString;

// Makes LumoButton and Border known to window definitions by their stored class names.
void registerControlClasses();

// What each program does once after creating its application object: gives it the title and
// version, names the desktop entry it is shown as (none for a tool without a window), sets up
// the fonts and registers the control classes.
void setUpProgram(const QString &desktopEntry);
