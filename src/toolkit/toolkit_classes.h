#pragma once
// Makes the toolkit's control classes and its colour and character-set names known to the form
// description reader. Safe to call more than once.
void RegisterToolkitClasses();
