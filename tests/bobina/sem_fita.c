/* A printer library as a vendor ships it: printer functions, no tape. */
__attribute__((visibility("default"))) int Kestrona_FI_VersaoDll(char* versao) {
    (void)versao;
    return 1;
}
