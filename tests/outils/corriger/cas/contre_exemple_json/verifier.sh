exec bash "$TESTS_OUTILS/corriger/verifier_contre_exemple.sh"
