/* A header whose second routine lacks its line of levels and sentence. */
/* ---- group ---- */
/** 0: Is documented. */
void documented(int n);
void documented_(const int* n);
void undoc(const char* ctext);
void undoc_(const char* ctext, int len);
