#!/usr/bin/env bash
# Authenticode signs Windows programs and installers in place with osslsigncode, then verifies
# each signature; nothing happens unless a certificate is given:
#   STOCKQUERY_SIGNING_CERT  the certificate (PEM; the chain after it where there is one)
#   STOCKQUERY_SIGNING_KEY   its private key (PEM)
#   STOCKQUERY_SIGNING_PASSWORD      the key's password, when it has one (optional)
#   STOCKQUERY_SIGNING_TIMESTAMP_URL an RFC 3161 timestamp server (optional; needs the network)
#   sign.sh FILE...
set -euo pipefail
cert=${STOCKQUERY_SIGNING_CERT:-} key=${STOCKQUERY_SIGNING_KEY:-}
[ -n "$cert" ] || exit 0
[ -n "$key" ] || { echo "sign.sh: STOCKQUERY_SIGNING_KEY is not set" >&2 && exit 1; }
options=(-certs "$cert" -key "$key" -h sha256 -n stockquery)
[ -n "${STOCKQUERY_SIGNING_PASSWORD:-}" ] && options+=(-pass "$STOCKQUERY_SIGNING_PASSWORD")
[ -n "${STOCKQUERY_SIGNING_TIMESTAMP_URL:-}" ] && options+=(-ts "$STOCKQUERY_SIGNING_TIMESTAMP_URL")
# Verified against the system's authorities and the given certificate itself, so that a
# self-signed certificate verifies too.
authorities=$(mktemp)
trap 'rm -f "$authorities" "${signed:-}"' EXIT
cat /etc/ssl/certs/ca-certificates.crt "$cert" >"$authorities" 2>/dev/null || cat "$cert" >"$authorities"
for file in "$@"; do
    signed=$file.signed
    osslsigncode sign "${options[@]}" -in "$file" -out "$signed" >/dev/null
    mv "$signed" "$file"
    osslsigncode verify -CAfile "$authorities" -in "$file" >/dev/null ||
        { echo "sign.sh: the signature of $file does not verify" >&2 && exit 1; }
done
echo "signed and verified: $# files"
