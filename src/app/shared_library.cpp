// The shared library of the program's code (halvix_shared) is made of the two archives, linked whole;
// a library target needs a source of its own, and this is it.
