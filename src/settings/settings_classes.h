#pragma once
// Makes TFormPlacement and TFormStorage known to the form description reader. Safe to call
// more than once.
void RegisterSettingsClasses();
