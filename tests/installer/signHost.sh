#!/bin/sh
# Host side of the signing tests: the Windows test starts this script through
# Wine, which cannot wait for a host process, so the outcome goes to DONE
# (written whole, by a rename) for the test to poll.
#   signHost.sh DONE CERTDIR sign SAVERPACK IN OUT   saverpack sign, then osslsigncode verify
#   signHost.sh DONE CERTDIR layers IMAGE LAYER OUT  the layers signed with osslsigncode directly
#   signHost.sh DONE CERTDIR verify FILE             osslsigncode verify against the test CA
done_file=$1 certs=$2 mode=$3; shift 3
log="$done_file.log"
run() {
  [ -f "$certs/cert.pem" ] || openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Signing Test Maker" \
    -keyout "$certs/key.pem" -out "$certs/cert.pem" || return 1
  case $mode in
    sign) "$1" sign "$2" --cert "$certs/cert.pem" --key "$certs/key.pem" -o "$3" &&
          osslsigncode verify -CAfile "$certs/cert.pem" -in "$3" ;;
    layers) osslsigncode sign -certs "$certs/cert.pem" -key "$certs/key.pem" -in "$2" -out "$2.signed" &&
            cat "$1" "$2.signed" > "$3.whole" &&
            osslsigncode sign -certs "$certs/cert.pem" -key "$certs/key.pem" -in "$3.whole" -out "$3" ;;
    verify) osslsigncode verify -CAfile "$certs/cert.pem" -in "$1" ;;
    *) echo "unknown mode $mode"; return 1 ;;
  esac
}
run "$@" >"$log" 2>&1
echo $? > "$done_file.part"
mv "$done_file.part" "$done_file"
