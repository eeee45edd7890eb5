// A target needs a source file; the check only reads the targets' properties.
