// Stands in for a subsystem folder that holds no code yet, so its library target exists.
