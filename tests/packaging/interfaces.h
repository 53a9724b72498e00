/* Every kind of by-address parameter the generator maps. */
#ifdef __cplusplus
extern "C" {
#endif
void korini(void);
void korini_(void);              /* no arguments */
float getver_(void);
int getplv_(void);
void areaf(const int* nxray, const int* nyray, int n);
void areaf_(const int* nxray, const int* nyray,
            const int* n);       // arrays, by the plain form
void qqwext(const int* id, int* out);
void qqwext_(const int* id, int* out);
void trfdat(int ndays, int* nday, int* nmon, int* nyear);
void trfdat_(const int* ndays, int* nday, int* nmon, int* nyear);
void hstgrm(const float* xray, int n, int* iray);
void hstgrm_(const float* xray, const int* n, int* iray);  /* an array result */
void shield_(const char* cblnk, const char* cmode, int len1, int len2);
void gusrid_(char* cuser, int len);
void scale_(const double* x, float* line, const int*, int* scale);
void txtlong_(const char* ctext, const int* nxposition, const int* nyposition, const int* nwidthofbox, const int* nheightofbox, const float* xangle, int len);  /* a long heading */
#ifdef __cplusplus
}
#endif
