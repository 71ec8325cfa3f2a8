#pragma once

// Registers every persistent class of the music model with the class
// factory (TWAudioInstrument first for 302). Call once at start-up, before
// any model file is read; calling it again does nothing.
void TWRegisterModelClasses();
