#pragma once
// The first step of every frame: the camera keys and mouse, the manipulation of the selected
// element, the view loaded into the modelview matrix and the frame's lighting.

/// frameTime in seconds; all motion is scaled by frameTime / 0.033.
void updateCameraAndManipulation(double frameTime);

/// Keeps a held key from acting until it is released (the key that closed the introduction).
void suppressHeldKey(int key);

enum class Command;
/// A key press that belongs to a carry by keys (rules/KeyCarry.h): starts one, steps its pointer,
/// sets the holder down or takes the carry back. True when the key was used so; otherwise its
/// command runs as ever. Never while the level's introduction is open.
bool carryKey(int key, Command command);

/// A press of a look key turns the view one small step at once (held, it then turns on
/// steadily): a tap is an exact turn. Not while the introduction or a menu is open.
void lookKeyPressed(int key);
