/* A by-address routine with a by-value number: refused. */
void linwid_(int nwidth);
