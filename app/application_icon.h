#pragma once
// The icon every window of the configurator shows: its title bar, the task
// bar, its message boxes and dialogs.
void installApplicationIcon();
