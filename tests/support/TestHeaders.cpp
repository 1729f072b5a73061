// The object the test programs' precompiled header is built with; it holds
// no code of its own.
