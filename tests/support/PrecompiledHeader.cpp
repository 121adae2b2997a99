// Compiles the test programs' precompiled header; nothing of its own.
