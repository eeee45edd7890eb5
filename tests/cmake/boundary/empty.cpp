// A library needs a source file; the check only reads the link graph.
